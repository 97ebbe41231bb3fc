#pragma once

#include "document/Geometry.h"

#include <QPoint>

#include <memory>
#include <vector>

class CNetView;

// A drawing tool: what the mouse does in a map view. One instance per tool
// shape exists for the whole program, and the current shape is shared by all
// views, so choosing a tool in one window chooses it everywhere.
class CDrawTool {
public:
    // Mouse-key flags passed with every event.
    static constexpr int kLeftButton = 0x0001;
    static constexpr int kShift = 0x0004;
    static constexpr int kControl = 0x0008;

    // What a drag in the select tool does.
    enum SelectMode { none = 0, netSelect = 1, move = 2, size = 3 };

    explicit CDrawTool(int shape);
    virtual ~CDrawTool() = default;

    virtual void ButtonDown(CNetView& view, int flags, QPoint point);
    virtual void ButtonDblClk(CNetView& view, int flags, QPoint point);
    virtual void ButtonUp(CNetView& view, int flags, QPoint point);
    virtual void MouseMove(CNetView& view, int flags, QPoint point);
    virtual void EditProperties(CNetView& view);
    virtual void Cancel();

    int Shape() const { return m_nShape; }

    // The tool of a shape, or null when there is none.
    static CDrawTool* FindTool(int shape);
    static CDrawTool* CurrentTool() { return FindTool(s_nActiveShape); }

    static int s_nActiveShape;
    static QPoint s_ptDown;
    static QPoint s_ptLast;
    static Point s_ptLastMap;
    static int s_nSelectMode;
    static int s_nDragHandle;

protected:
    static CDrawTool& SelectTool();

private:
    static const std::vector<std::unique_ptr<CDrawTool>>& Registry();

    const int m_nShape;
};
