#pragma once

#include <memory>
#include <optional>

#include "document/Geometry.h"
#include "objects/DrawView.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QPointer>

class ChangeOverlay;
class CNetDoc;
class QMimeData;
class QRubberBand;

using COLORREF = quint32; // 0x00BBGGRR

// The map pane of a document window: a scrolling view of the map in 0.1 mm
// units on its page grid. It keeps the user's selection, hands mouse input
// to the current drawing tool and carries the map's editing commands.
// Repaints are bound to the areas that changed: every change invalidates
// only the objects concerned, and painting draws only what the exposed
// region touches.
//
// Ownership: the view owns nothing of the map; its selection points into
// the document's objects and is dropped whenever the document deletes them.
class CNetView : public QAbstractScrollArea, public DrawView {
    Q_OBJECT

public:
    static const QString kClipboardFormat; // "TAVRIN Varnex"
    static constexpr COLORREF kGridColor = 0x00C0C0C0;

    explicit CNetView(CNetDoc& document, QWidget* parent = nullptr);
    ~CNetView() override;

    CNetDoc& GetDocument() const { return m_document; }

    // DrawView.
    bool isPrinting() const override { return false; }
    Rect clientRectLogical() const override;
    bool showsHandles() const override { return m_bViewActive; }
    bool isSelected(const CDrawObj* object) const override;
    QList<CDrawObj*> selection() const override { return m_selected; }
    void removeFromSelection(CDrawObj* object) override;
    void invalidateObject(CDrawObj* object) override;
    Point logicalToDevice(Point p) const override;
    Point deviceToLogical(Point p) const override;
    void openPropertySheet(CDrawObj* object) override;

    // Selection, as the tools use it.
    void Select(CDrawObj* object, bool add);
    void SelectWithinRect(const QRect& device);
    void CloneSelection();
    void SelectAll();
    // Selects the object alone and scrolls it into the middle of the view
    // unless it is in view already.
    void ShowObject(CDrawObj* object);
    void InvalidateSelection();

    // Commands.
    void OnEditClear();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    bool CanPaste() const;
    void MoveForward();
    void MoveBack();
    void MoveToFront();
    void MoveToBack();
    void SetBackgroundColor(COLORREF color);
    void SetShowGrid(bool show);
    bool ShowsGrid() const { return m_bShowGrid; }

    // Zoom, beyond the map's own 1:1: the point under anchor (viewport
    // pixels; the centre when none) stays where it is. Printing is not
    // affected.
    static constexpr double kMinZoom = 0.05;
    static constexpr double kMaxZoom = 8.0;
    static constexpr double kZoomStep = 1.25;
    double Zoom() const { return m_dZoom; }
    void SetZoom(double zoom, std::optional<QPoint> anchor = std::nullopt);
    void ZoomIn() { SetZoom(m_dZoom * kZoomStep); }
    void ZoomOut() { SetZoom(m_dZoom / kZoomStep); }
    void ZoomReset() { SetZoom(1.0); }
    // The zoom that shows every page of the map in the window.
    void ZoomToFit();
    // Embeds a file at a device point, selected; false with the reason when
    // it cannot (the program's own map files are refused).
    bool InsertFile(const QString& path, QPoint at, QString* error);
    // Embeds the files, or the picture, of dropped data at a device point.
    void DropData(const QMimeData& data, QPoint at);

    // The changes since an earlier map, marked over this view's map and
    // named in tooltips until cleared (null). The document is not touched.
    void SetChanges(std::shared_ptr<const ChangeOverlay> changes);
    const ChangeOverlay* Changes() const { return m_changes.get(); }

    // Esc: the current tool gives up and the select tool takes over.
    void CancelTool();
    // Handles and tool input belong to the active view only.
    void SetViewActive(bool active);
    bool IsViewActive() const { return m_bViewActive; }

    // Mouse capture for the tools: input keeps reaching the view between
    // presses while a tool holds it.
    void SetCapture() { m_bCaptured = true; }
    void ReleaseCapture() { m_bCaptured = false; }
    bool HasCapture() const { return m_bCaptured; }
    // The rubber band of the select tool, in device units; empty hides it.
    void ShowFocusRect(const QRect& device);

    // The page grid for a painter in map units: the grid lines that cross the visible area (map units); none when
    // they would stand closer than a few pixels.
    static void DrawGrid(QPainter& painter, const CNetDoc& document, COLORREF grid, const Rect& visible,
                         double pixelsPerUnit);
    // The scrollable area in device pixels.
    QSize ScrollSize() const;

signals:
    void propertySheetRequested(CDrawObj* object);
    void surveySettingsRequested();
    void selectionChanged();
    // The drawing tool in use changed (a placed device gives back the
    // selection tool).
    void toolChanged();
    void zoomChanged(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void OnUpdate(int hint, CDrawObj* object);
    void UpdateScrollSizes();
    QRect DeviceArea(const Rect& logical) const;
    QRect ObjectArea(CDrawObj* object) const;
    void InvalidateArea(const QRect& device);
    void ForgetSelection();
    void ShowBeforeSnapshot();
    void PruneSelection();
    void MoveInList(CDrawObj* object, qsizetype to);
    void OffsetFromOriginals();
    double PixelsPerUnitX() const;
    double PixelsPerUnitY() const;
    static int Flags(const QMouseEvent* event);

    CNetDoc& m_document;
    QList<CDrawObj*> m_selected;
    bool m_bShowGrid = true;
    double m_dZoom = 1.0;
    COLORREF m_crGrid = kGridColor;
    bool m_bViewActive = false;
    bool m_bCaptured = false;
    bool m_bPainting = false;
    bool m_bLabelsPlaced = false; // labels moved to their devices since the map last changed as a whole
    // Shown once per turn of the event loop before a snapshot: an edit made
    // of several steps (a clone with its labels) is painted when done.
    bool m_bShownBeforeSnapshot = false;
    Rect m_rcPaintLogical;
    QRubberBand* m_pFocusRect = nullptr;
    std::shared_ptr<const ChangeOverlay> m_changes;
};
