#include "NetworkMenu.h"

#include "shell/NetworkSelection.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>

NetworkMenu::NetworkMenu(QMenu* menu, std::function<bool()> anySurveyRuns, QObject* parent)
    : QObject(parent)
    , m_pAction(menu->addAction(QStringLiteral("デモネットワークを調査する(&D)")))
    , m_anySurveyRuns(std::move(anySurveyRuns))
{
    m_pAction->setCheckable(true);
    m_pAction->setStatusTip(
        QStringLiteral("実際のネットワークの代わりに内蔵のデモネットワーク（シミュレーション）を調査します。"));
    connect(m_pAction, &QAction::triggered, this, &NetworkMenu::OnToggled);
}

void NetworkMenu::SetSelection(NetworkSelection* selection)
{
    m_pSelection = selection;
    m_pAction->setChecked(selection && !selection->SimulatedName().isEmpty());
}

void NetworkMenu::Update()
{
    m_pAction->setEnabled(m_pSelection && !m_anySurveyRuns());
}

QString NetworkMenu::Notice() const
{
    if (!m_pSelection || m_pSelection->SimulatedName().isEmpty())
        return {};
    return QStringLiteral(" [シミュレーション: %1]").arg(m_pSelection->SimulatedName());
}

void NetworkMenu::OnToggled(bool demo)
{
    if (!m_pSelection || m_anySurveyRuns())
        return;
    NetworkChoice::Opened opened =
        NetworkChoice::Open(QLatin1String(demo ? NetworkChoice::kDemo : NetworkChoice::kLive));
    if (!opened.network) {
        QMessageBox::warning(qobject_cast<QWidget*>(parent()), QStringLiteral("Varnex"), opened.error);
        m_pAction->setChecked(!demo);
        return;
    }
    m_pSelection->Select(std::move(opened));
    emit changed();
}
