#include "HelpPages.h"

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

QString HelpPages::ResourceOf(const QString& page)
{
    const QString base = QFileInfo(page).completeBaseName();
    const QString path = QStringLiteral(":/help/%1.html").arg(base);
    return QFile::exists(path) ? path : QString();
}

void HelpPages::Open(const QString& page, QWidget* parent)
{
    QString resource = ResourceOf(page);
    if (resource.isEmpty())
        resource = ResourceOf(QString::fromLatin1(kIndex));
    auto* window = new QDialog(parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("Varnex ヘルプ"));
    window->resize(720, 560);
    auto* layout = new QVBoxLayout(window);
    auto* browser = new QTextBrowser(window);
    browser->setSearchPaths({QStringLiteral(":/help")});
    browser->setSource(QUrl(QStringLiteral("qrc") + resource));
    layout->addWidget(browser);
    window->show();
}
