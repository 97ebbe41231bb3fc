#include "CObjPage2.h"

#include "propsheet/CObjSheet.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// A notes line is read into a buffer of this many characters.
constexpr qsizetype kLineBuffer = 1024;
constexpr int kColumns = 3;

} // namespace

const QStringList CObjPage2::kRoleLabels = {
    QStringLiteral("PRIMARY_DC"), QStringLiteral("BACK_DC"), QStringLiteral("DHCP"), QStringLiteral("AppleFileP"),
    QStringLiteral("NOVELL"), QStringLiteral("PRINTQ"), QStringLiteral("DIALIN"), QStringLiteral("XENIX"),
    QStringLiteral("MFPN"), QStringLiteral("WFW"), QStringLiteral("POTENTIAL_BROWS"), QStringLiteral("BACKUP_BROWS"),
    QStringLiteral("MASTER_BROWS"), QStringLiteral("DOMAIN_MASTER"), QStringLiteral("DOMAIN_ENUM"),
    QStringLiteral("TERMINALSERVER"), QStringLiteral("CLUSTER_NT"), QStringLiteral("CLUSTER"), QStringLiteral("TIME"),
    QStringLiteral("FIREWALL"), QStringLiteral("PROXY"), QStringLiteral("SQL"), QStringLiteral("WEB"),
    QStringLiteral("IIS"), QStringLiteral("APACHE"), QStringLiteral("AN HTTP"), QStringLiteral("SAMBA"),
    QStringLiteral("EXCHANGE"), QStringLiteral("POP3"), QStringLiteral("SMTP"),
};

CObjPage2::CObjPage2(CObjSheet& sheet)
    : CObjPage(sheet, QStringLiteral("サーバー情報"))
{
    auto* roles = new QGridLayout;
    for (int i = 0; i < kRoleLabels.size(); ++i) {
        auto* box = new QCheckBox(kRoleLabels.at(i), this);
        box->setObjectName(QStringLiteral("role%1").arg(i));
        box->setChecked(sheet.m_roles[size_t(i)] != 0);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) { m_sheet.m_roles[size_t(i)] = on ? 1 : 0; });
        roles->addWidget(box, i / kColumns, i % kColumns);
    }
    m_notes = new QPlainTextEdit(this);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setPlainText(sheet.m_astrNotes.join(QLatin1Char('\n')));
    connect(m_notes, &QPlainTextEdit::textChanged, this,
            [this] { m_sheet.m_astrNotes = NotesOf(m_notes->toPlainText()); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(roles);
    layout->addWidget(new QLabel(QStringLiteral("追記事項："), this));
    layout->addWidget(m_notes);
}

QStringList CObjPage2::NotesOf(const QString& text)
{
    QStringList notes;
    for (const QString& line : text.split(QLatin1Char('\n')))
        if (!line.isEmpty())
            notes.append(line.left(kLineBuffer));
    return notes;
}
