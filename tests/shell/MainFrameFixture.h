#pragma once

#include "listview/CBottView.h"
#include "listview/DeviceListModel.h"
#include "objects/CDrawSys.h"
#include "shell/CChildFrame.h"
#include "shell/CMainFrame.h"
#include "shell/DocumentSession.h"
#include "support/SimulatedLan.h"
#include "survey/NetworkSurvey.h"
#include "survey/SurveySettings.h"

#include <QAction>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

// The main window on a small simulated network, shown; the windows' maps
// are left unmodified so closing asks nothing.
class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        network = SimulatedLan()
                      .Computer("PC01", "10.77.0.21", "Domain:CORP")
                      .Computer("PC02", "10.77.0.22", "Domain:CORP")
                      .Probe("serverInfo", 200)
                      .Build();
        frame = std::make_unique<CMainFrame>(*network, settings);
        frame->show();
    }

    void TearDown() override
    {
        for (CChildFrame* child : frame->Children())
            child->Session().Document().SetModifiedFlag(false);
        frame.reset();
    }

    static void Wait(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    SurveySettings settings;
    std::unique_ptr<SimulatedNetwork> network;
    std::unique_ptr<CMainFrame> frame;
};

// Surveys the map of a child window to its end.
inline void SurveyToTheEnd(CMainFrame& frame, CChildFrame& child)
{
    QEventLoop loop;
    QObject::connect(&child.Session().Survey(), &NetworkSurvey::ended, &loop, &QEventLoop::quit);
    frame.Action(32794)->trigger();
    loop.exec();
}

inline const CDrawSys* DeviceNamed(const CNetDoc& document, const QString& prefix)
{
    for (const CDrawObj* object : document.m_objects)
        if (typeid(*object) == typeid(CDrawSys) && static_cast<const CDrawSys*>(object)->m_strFqdn.startsWith(prefix, Qt::CaseInsensitive))
            return static_cast<const CDrawSys*>(object);
    return nullptr;
}

inline QStringList ChangeColumn(CBottView& list)
{
    DeviceListModel& model = list.Model();
    const int column = model.columnCount() - 1;
    if (model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString() != DeviceListModel::kChangeHeader)
        return {};
    QStringList cells;
    for (int row = 0; row < model.rowCount(); ++row)
        cells.append(model.Text(row, 0) + '=' + model.Text(row, column));
    cells.sort();
    return cells;
}
