#include "CChildFrame.h"

#include "listview/CBottView.h"
#include "mapview/CNetView.h"
#include "shell/DocumentSession.h"
#include "survey/NetworkSurvey.h"

#include <QSplitter>
#include <QVBoxLayout>

CChildFrame::CChildFrame(DocumentSession& session, QWidget* parent)
    : QWidget(parent)
    , m_session(session)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pSplitter = new QSplitter(Qt::Vertical, this);
    m_pMapView = new CNetView(session.Document(), m_pSplitter);
    m_pListView = new CBottView(session.Document(), m_pSplitter);
    m_pSplitter->addWidget(m_pMapView);
    m_pSplitter->addWidget(m_pListView);
    m_pSplitter->setChildrenCollapsible(false);
    // The list may be dragged down to a few rows' worth of pixels.
    m_pListView->setMinimumHeight(20);
    layout->addWidget(m_pSplitter);
    connect(m_pSplitter, &QSplitter::splitterMoved, this, &CChildFrame::OnSplitterMoved);
    // A finished survey has built new inventory tables.
    connect(&session.Survey(), &NetworkSurvey::mapBuilt, m_pListView, &CBottView::BuildRows);
    setFocusProxy(m_pMapView);
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int total = m_pSplitter->height() - m_pSplitter->handleWidth();
    if (total < m_nListHeight)
        return;
    QSignalBlocker block(m_pSplitter);
    m_pSplitter->setSizes({total - m_nListHeight, m_nListHeight});
}

void CChildFrame::OnSplitterMoved()
{
    m_nListHeight = m_pSplitter->sizes().value(1, m_nListHeight);
}
