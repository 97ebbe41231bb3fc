#pragma once

#include <QPointer>
#include <QWidget>

class CBottView;
class CNetView;
class DocumentSession;
class QSplitter;

// A document window: the map above, the device list below. The list keeps
// its height when the window is resized; dragging the split bar sets it.
class CChildFrame : public QWidget {
    Q_OBJECT

public:
    static constexpr int kInitialListHeight = 100;

    CChildFrame(DocumentSession& session, QWidget* parent = nullptr);
    ~CChildFrame() override;

    DocumentSession& Session() const { return m_session; }
    CNetView& MapView() const { return *m_pMapView; }
    CBottView& ListView() const { return *m_pListView; }
    int ListHeight() const { return m_nListHeight; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnSplitterMoved();

    DocumentSession& m_session;
    QSplitter* m_pSplitter;
    CNetView* m_pMapView;
    CBottView* m_pListView;
    int m_nListHeight = kInitialListHeight;
};
