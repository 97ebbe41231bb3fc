#pragma once

#include <QDialog>
#include <QStringList>

class CNetDoc;
class QListWidget;

// "表示/印刷のカラム指定": which columns the device list shows and prints.
// Works on copies; OK gives the hidden names to the document (and, for a
// map without objects, to the settings store as the start of new maps).
class CColumSelect : public QDialog {
    Q_OBJECT

public:
    explicit CColumSelect(CNetDoc& document, QWidget* parent = nullptr);

    // The rules of the buttons, on the hidden copy; master order is kept.
    static QStringList Hide(const QStringList& master, const QStringList& hidden, const QString& name);
    static bool IsHidden(const QStringList& hidden, const QString& name);

    const QStringList& HiddenColumns() const { return m_astrHidden; }
    QListWidget* UsedList() const { return m_pUsed; }
    QListWidget* HiddenList() const { return m_pHidden; }

    void HideSelected();
    void HideAll();
    void ShowSelected();
    void ShowAll();
    void accept() override;

private:
    void Refill();

    CNetDoc& m_document;
    QStringList m_astrMaster;
    QStringList m_astrHidden;
    QListWidget* m_pUsed;
    QListWidget* m_pHidden;
};
