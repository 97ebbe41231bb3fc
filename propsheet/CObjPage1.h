#pragma once

#include "propsheet/CObjPage.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;

// "機器情報": the device's name, operating system and kind. The OS name and
// the kind change the system at once; the name waits for OK.
class CObjPage1 : public CObjPage {
    Q_OBJECT

public:
    static const QStringList kOsNames;
    static const QStringList kKindLabels;

    explicit CObjPage1(CObjSheet& sheet);

    void Enter() override;
    bool Leave() override;
    // Validates a change of kind and applies it when accepted.
    bool ChooseKind(int kind);

private:
    // The refusal text of a change of kind, or empty when it may go on
    // (after detaching the device as the change needs).
    QString Refusal(int kind);
    void UpdateKindControls();

    QLineEdit* m_fqdn = nullptr;
    QComboBox* m_os = nullptr;
    QButtonGroup* m_kinds = nullptr;
    QLabel* m_hostCaption = nullptr;
    QLabel* m_hostName = nullptr;
};
