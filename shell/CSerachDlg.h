#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// The survey's progress window: a headline, the count of hosts still being
// surveyed, the latest report and a bar. Modeless and without a caption; Esc
// closes it while the survey goes on.
class CSerachDlg : public QDialog {
    Q_OBJECT

public:
    explicit CSerachDlg(QWidget* parent = nullptr);

    // Shown in red above the headline when not empty.
    void SetNotice(const QString& text);
    QString Notice() const;
    void SetHeader(const QString& text);
    void SetCount(const QString& text);
    void SetMessage(const QString& text);
    void InitBar(int maximum);
    void StepBar();

    QString Header() const;
    QString Count() const;
    QString Message() const;
    int BarValue() const;

signals:
    // The user closed the window; the survey is not stopped by it.
    void closedByUser();

protected:
    void reject() override;

private:
    QLabel* m_pNotice;
    QLabel* m_pHeader;
    QLabel* m_pCount;
    QLabel* m_pMessage;
    QProgressBar* m_pBar;
};
