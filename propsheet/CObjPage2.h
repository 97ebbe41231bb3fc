#pragma once

#include "propsheet/CObjPage.h"

class QPlainTextEdit;

// "サーバー情報": the thirty server roles and the notes, applied on OK.
class CObjPage2 : public CObjPage {
    Q_OBJECT

public:
    static const QStringList kRoleLabels;

    explicit CObjPage2(CObjSheet& sheet);

    // The notes of an edit's text: its lines without the empty ones.
    static QStringList NotesOf(const QString& text);

private:
    QPlainTextEdit* m_notes = nullptr;
};
