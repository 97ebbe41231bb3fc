#include "CAboutDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The resource text loses its last three characters ("1.0") and gets the
// version of the build instead.
const QString kLabelResource = QStringLiteral("Varnex Version 1.0");

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Varnexのﾊﾞｰｼﾞｮﾝ情報"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(VersionLabel(), this);
    label->setObjectName(QStringLiteral("version"));
    layout->addWidget(label);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString CAboutDlg::VersionLabel()
{
    return kLabelResource.left(kLabelResource.size() - 3)
        + QStringLiteral("%1.%2.%3.%4")
              .arg(VARNEX_VERSION_MAJOR)
              .arg(VARNEX_VERSION_MINOR % 256)
              .arg(VARNEX_VERSION_PATCH)
              .arg(0);
}
