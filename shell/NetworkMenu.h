#pragma once

#include <QObject>
#include <QString>

#include <functional>

class NetworkSelection;
class QAction;
class QMenu;

// The tools menu's switch between the live network and the built-in demo
// network, and the notice every window shows while a simulated network is
// selected. The switch is off while any survey runs.
class NetworkMenu : public QObject {
    Q_OBJECT

public:
    NetworkMenu(QMenu* menu, std::function<bool()> anySurveyRuns, QObject* parent);

    void SetSelection(NetworkSelection* selection);
    // Enables the switch unless a survey runs.
    void Update();
    // " [シミュレーション: …]" while a simulated network is selected.
    QString Notice() const;
    QAction* Action() const { return m_pAction; }

signals:
    void changed();

private:
    void OnToggled(bool demo);

    QAction* m_pAction;
    std::function<bool()> m_anySurveyRuns;
    NetworkSelection* m_pSelection = nullptr;
};
