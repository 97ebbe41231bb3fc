#include "CBottView.h"

#include "document/CNetDoc.h"

#include <QHeaderView>

CBottView::CBottView(CNetDoc& document, QWidget* parent)
    : QTableWidget(parent)
    , m_document(document)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    horizontalHeader()->setStretchLastSection(true);
    if (!m_document.m_pListView)
        m_document.m_pListView = this;
}

CBottView::~CBottView()
{
    if (m_document.m_pListView == this)
        m_document.m_pListView = nullptr;
}
