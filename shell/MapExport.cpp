#include "MapExport.h"

#include "mapview/MapRenderer.h"
#include "shell/SettingsStore.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>

namespace {

const QString kPng = QStringLiteral("PNG 画像 (*.png)");
const QString kSvg = QStringLiteral("SVG 図形 (*.svg)");
const QString kPdf = QStringLiteral("PDF 文書 (*.pdf)");

QString SuffixOf(const QString& filter)
{
    return filter == kSvg ? QStringLiteral(".svg") : filter == kPdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
}

} // namespace

bool MapExport::ExportToFile(CNetDoc& document, const QString& title, QWidget* parent)
{
    SettingsStore store;
    QString folder;
    if (!store.readString(QLatin1String(kSettingsKey), QLatin1String(kFolderValue), folder) || !QDir(folder).exists())
        folder = QDir::homePath();
    QString filter = kPng;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("図としてエクスポート"),
                                                QDir(folder).filePath(QFileInfo(title).completeBaseName() + QStringLiteral(".png")),
                                                QStringList{kPng, kSvg, kPdf}.join(QStringLiteral(";;")), &filter);
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += SuffixOf(filter);
    store.writeString(QLatin1String(kSettingsKey), QLatin1String(kFolderValue), QFileInfo(path).absolutePath());
    if (Write(document, path))
        return true;
    QMessageBox::warning(parent, QStringLiteral("Varnex"), QStringLiteral("%1 に書き込めませんでした。").arg(path));
    return false;
}

bool MapExport::Write(CNetDoc& document, const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg"))
        return MapRenderer::SaveSvg(document, path);
    if (suffix == QLatin1String("pdf"))
        return MapRenderer::SavePdf(document, path);
    return MapRenderer::SavePng(MapRenderer::render(document), path);
}

QMimeData* MapExport::PictureData(CNetDoc& document)
{
    auto* data = new QMimeData;
    data->setImageData(MapRenderer::render(document));
    // The drawing goes through a file of our own: the renderer writes files.
    QTemporaryDir scratch;
    const QString svg = scratch.filePath(QStringLiteral("map.svg"));
    if (scratch.isValid() && MapRenderer::SaveSvg(document, svg)) {
        QFile file(svg);
        if (file.open(QIODevice::ReadOnly))
            data->setData(QStringLiteral("image/svg+xml"), file.readAll());
    }
    return data;
}

void MapExport::CopyToClipboard(CNetDoc& document)
{
    QApplication::clipboard()->setMimeData(PictureData(document));
}
