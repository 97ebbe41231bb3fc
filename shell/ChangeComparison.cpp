#include "ChangeComparison.h"

#include "document/CNetDoc.h"
#include "listview/CBottView.h"
#include "mapbuild/MapComparison.h"
#include "mapview/CNetView.h"
#include "mapview/ChangeOverlay.h"
#include "shell/CChildFrame.h"
#include "shell/DocumentSession.h"
#include "shell/SettingsStore.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

const QString kFilter = QStringLiteral("Varnex Files (*.vxnj)");

} // namespace

bool ChangeComparison::CompareWithFile(CChildFrame& child, QWidget* parent)
{
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("比較するマップ"), QString(), kFilter);
    if (path.isEmpty())
        return false;
    CNetDoc earlier;
    earlier.m_bSnapshotsWanted = false;
    QString error;
    if (!earlier.OnOpenDocument(path, &error)) {
        QMessageBox::warning(parent, QStringLiteral("Varnex"), QStringLiteral("%1 を開けません。\n%2").arg(path, error));
        return false;
    }
    const MapComparison comparison = MapComparison::Compare(earlier, child.Session().Document());
    if (comparison.IsEmpty()) {
        Clear(child);
        QMessageBox::information(parent, QStringLiteral("Varnex"),
                                 QStringLiteral("%1 からの変化はありません。").arg(path));
        return true;
    }
    Show(child, comparison);
    return true;
}

QString ChangeComparison::Show(CChildFrame& child, const MapComparison& comparison)
{
    auto overlay = std::make_shared<const ChangeOverlay>(comparison);
    child.MapView().SetChanges(overlay);
    child.ListView().SetChanges(overlay);
    using Kind = MapComparison::Kind;
    return QStringLiteral("比較: 新規 %1 台、なくなった機器 %2 台、変更 %3 台")
        .arg(comparison.Count(Kind::Added))
        .arg(comparison.Count(Kind::Gone))
        .arg(comparison.Count(Kind::Changed));
}

void ChangeComparison::Clear(CChildFrame& child)
{
    child.MapView().SetChanges(nullptr);
    child.ListView().SetChanges(nullptr);
}

bool ChangeComparison::IsShown(const CChildFrame& child)
{
    return child.MapView().Changes() != nullptr;
}

bool ChangeComparison::AfterSurvey()
{
    quint32 on = 0;
    SettingsStore().readDword(QLatin1String(kSettingsKey), QLatin1String(kAfterSurveyValue), on);
    return on != 0;
}

void ChangeComparison::SetAfterSurvey(bool on)
{
    SettingsStore().writeDword(QLatin1String(kSettingsKey), QLatin1String(kAfterSurveyValue), on ? 1 : 0);
}
