#include "CDrawText.h"

#include "GdiMapping.h"

#include "CDrawNic.h"
#include "document/Archive.h"
#include "document/CNetDoc.h"
#include "document/JsonFields.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringEncoder>

VX_IMPLEMENT_SERIAL(CDrawText, &CDrawSys::classInfoCDrawSys)

namespace {

// Label widths count the bytes of the text in the Japanese code page, where
// a double-byte character is twice as wide as a single-byte one.
qsizetype ansiLength(const QString& line)
{
    QStringEncoder encoder("Shift_JIS");
    if (!encoder.isValid()) {
        qsizetype bytes = 0;
        for (QChar c : line)
            bytes += c.unicode() < 0x80 ? 1 : 2;
        return bytes;
    }
    return QByteArray(encoder.encode(line)).size();
}

} // namespace

CDrawText::CDrawText()
{
    m_ptRoundness = Point{20, 20};
}

CDrawText::CDrawText(const Rect& position)
    : CDrawSys(position)
{
    m_ptRoundness = Point{20, 20};
}

CDrawText::~CDrawText()
{
    DestroyOwned();
}

void CDrawText::Serialize(Archive& ar)
{
    CDrawSys::Serialize(ar);
    if (ar.IsStoring()) {
        ar.writeWord(quint16(m_nPosition));
        ar.writeObject(m_pLabelSys);
        ar.writeObject(m_pLabelNic);
    } else {
        m_nPosition = ar.readWord();
        m_pLabelSys = ar.readObjectOf<CDrawSys>();
        m_pLabelNic = ar.readObjectOf<CDrawNic>();
    }
    m_logfont.Serialize(ar);
    ar.serialize(m_astrLines);
    if (ar.IsLoading())
        m_pLabelOwner = m_pLabelSys ? static_cast<CDrawObj*>(m_pLabelSys) : m_pLabelNic;
    m_textReserve.Serialize(ar);
}

void CDrawText::ReleaseLinks()
{
    m_pLabelOwner = nullptr;
    m_pLabelSys = nullptr;
    m_pLabelNic = nullptr;
    m_textReserve.m_aobjLists.clear();
    CDrawSys::ReleaseLinks();
}

void CDrawText::DetachFromOwners()
{
    if (m_pLabelSys)
        m_pLabelSys->m_labels.removeAll(this);
    if (m_pLabelNic)
        m_pLabelNic->m_nicLabels.removeAll(this);
    CDrawSys::DetachFromOwners();
}

void CDrawText::ForgetObjects(const QSet<const CDrawObj*>& gone)
{
    CDrawSys::ForgetObjects(gone);
    if (gone.contains(m_pLabelSys))
        m_pLabelSys = nullptr;
    if (gone.contains(m_pLabelNic))
        m_pLabelNic = nullptr;
    m_pLabelOwner = m_pLabelSys ? static_cast<CDrawObj*>(m_pLabelSys) : m_pLabelNic;
    ForgetInReserve(m_textReserve, gone);
}

// Labels have the plain eight handles of every map object.
int CDrawText::GetHandleCount() const
{
    return CDrawObj::GetHandleCount();
}

Point CDrawText::GetHandle(int nHandle) const
{
    return CDrawDomain::GetHandle(nHandle);
}

HandleCursor CDrawText::GetHandleCursor(int nHandle) const
{
    return CDrawDomain::GetHandleCursor(nHandle);
}

bool CDrawText::Intersects(const Rect& rect) const
{
    return CDrawDomain::Intersects(rect);
}

void CDrawText::MoveHandleTo(int nHandle, Point point, DrawView* view)
{
    CDrawDomain::MoveHandleTo(nHandle, point, view);
}

CDrawObj* CDrawText::GetOwner() const
{
    return m_pLabelOwner;
}

void CDrawText::SetOwner(CDrawObj* owner)
{
    m_pLabelSys = nullptr;
    m_pLabelNic = nullptr;
    m_pLabelOwner = owner;
    if (!owner)
        return;
    if (owner->IsKindOf(CDrawNic::StaticClass()))
        m_pLabelNic = static_cast<CDrawNic*>(owner);
    else if (owner->IsKindOf(CDrawSys::StaticClass()))
        m_pLabelSys = static_cast<CDrawSys*>(owner);
}

void CDrawText::EditProperties(DrawView*)
{
}

CDrawSys* CDrawText::PlacementSystem() const
{
    if (m_pLabelSys)
        return m_pLabelSys;
    if (m_pLabelNic)
        return m_pLabelNic->m_pNicOwner;
    return nullptr;
}

Rect CDrawText::SetLines(const QStringList& lines, int nRequest)
{
    if (lines.isEmpty())
        return Rect{};
    m_astrLines = lines;
    if (nRequest >= 11 && nRequest <= 14)
        m_nPosition = nRequest - 1;
    Layout(nullptr);
    return m_position;
}

Size CDrawText::MeasureText(QPainter* painter) const
{
    qint32 height = m_logfont.height();
    qint32 leading = 0;
    qint32 average = height / 2;
    if (painter) {
        const QFontMetrics metrics(m_logfont.toFont(), painter->device());
        height = metrics.height();
        leading = metrics.leading();
        average = metrics.averageCharWidth();
    }
    qsizetype widest = 0;
    for (const QString& line : m_astrLines)
        widest = std::max(widest, ansiLength(line));
    return Size{qint32(average * widest), qint32(m_astrLines.size()) * (height + leading + 1)};
}

Rect CDrawText::Layout(QPainter* painter)
{
    const CDrawSys* system = PlacementSystem();
    if (!system)
        return Rect{};
    const Rect owner = system->m_position.normalized();
    const Size size = MeasureText(painter);
    const qint32 w = std::abs(size.cx);
    const qint32 h = std::abs(size.cy);
    switch (m_nPosition) {
    case above:
        m_nMoveX = (owner.width() - w) / 2;
        m_nMoveY = -h - kGap;
        break;
    case below:
        m_nMoveX = (owner.width() - w) / 2;
        m_nMoveY = owner.height() + kGap;
        break;
    case rightOf:
        m_nMoveX = owner.width() + kGap;
        m_nMoveY = 0;
        break;
    case leftOf:
        m_nMoveX = -w - kGap;
        m_nMoveY = 0;
        break;
    default:
        break;
    }
    const Rect placed{owner.left + m_nMoveX, owner.top + m_nMoveY, owner.left + m_nMoveX + w,
                      owner.top + m_nMoveY + h};
    m_position = placed;
    SetNormal(placed);
    m_rcExtent = placed;
    return placed;
}

Rect CDrawText::Relayout(QPainter* painter)
{
    if (PlacementSystem() && m_nMoveX == 0 && m_nMoveY == 0)
        return Layout(painter);
    return FollowDevice();
}

Rect CDrawText::FollowDevice()
{
    CDrawSys* system = PlacementSystem();
    if (!system)
        return m_position;
    const Rect owner = system->m_position.normalized();
    const Rect r = m_position.normalized();
    m_position = r.translated(owner.left + m_nMoveX - r.left, owner.top + m_nMoveY - r.top);
    SetNormal(m_position);
    m_rcExtent = m_position;
    system->RecalcExtent();
    return m_position;
}

namespace {

constexpr double kSmallestReadablePixels = 3.0;

} // namespace

void CDrawText::Draw(QPainter& painter)
{
    painter.save();
    painter.setFont(m_logfont.toFont());
    Relayout(&painter);
    const Rect r = m_position.normalized();
    // A device's label lies above the wires: they pass under its text, not
    // through it.
    if (m_pDocument && (m_pLabelSys || m_pLabelNic))
        painter.fillRect(QRectF(r.left, r.top, r.width(), r.height()), GdiMapping::color(m_pDocument->m_crBackground));
    const qint32 height = std::abs(m_logfont.height());
    const qint32 step = height + height / 10;
    qint32 y = r.top;
    // Text a couple of pixels high cannot be read: a grey bar per line
    // shows where it is, at a fraction of the cost (a whole map zoomed out).
    if (height * std::abs(painter.worldTransform().m22()) < kSmallestReadablePixels) {
        const QColor ink(128, 128, 128);
        for (const QString& line : std::as_const(m_astrLines)) {
            const double width = std::min<double>(r.width(), line.size() * height * 0.6);
            painter.fillRect(QRectF(r.left, y + height * 0.3, width, height * 0.4), ink);
            y += step;
        }
        painter.restore();
        return;
    }
    for (const QString& line : std::as_const(m_astrLines)) {
        painter.drawText(QRectF(r.left, y, std::max(r.width(), 1) * 4, step),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, line);
        y += step;
    }
    painter.restore();
}

CDrawObj* CDrawText::Clone(CNetDoc* document) const
{
    auto* copy = new CDrawText(m_position);
    CopyBaseFieldsTo(copy);
    CopySystemFields(copy);
    copy->m_nPosition = m_nPosition;
    copy->m_pLabelOwner = m_pLabelOwner;
    copy->m_pLabelSys = m_pLabelSys;
    copy->m_pLabelNic = m_pLabelNic;
    copy->m_astrLines = m_astrLines;
    copy->m_logfont = m_logfont;
    copy->m_pDocument = document;
    if (document)
        document->AddObject(copy);
    return copy;
}

void CDrawText::DescribeTo(QJsonObject& out,
                           const std::function<quint32(const Persistent*)>& indexOf) const
{
    CDrawSys::DescribeTo(out, indexOf);
    out["m_nPosition"] = m_nPosition;
    out["m_pLabelSys"] = qint64(indexOf(m_pLabelSys));
    out["m_pLabelNic"] = qint64(indexOf(m_pLabelNic));
    out["m_logfont"] = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(m_logfont.bytes.data()), LogFont::kSize).toHex());
    out["m_astrLines"] = JsonFields::strings(m_astrLines);
    out["textReserve"] = m_textReserve.ToJson(indexOf);
}
