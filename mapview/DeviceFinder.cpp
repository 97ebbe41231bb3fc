#include "DeviceFinder.h"

#include "document/CNetDoc.h"
#include "objects/CDrawNic.h"
#include "objects/CDrawSys.h"
#include "objects/CDrawText.h"

QList<CDrawSys*> DeviceFinder::Matches(const CNetDoc& document, const QString& text)
{
    const QString wanted = text.trimmed();
    QList<CDrawSys*> found;
    if (wanted.isEmpty())
        return found;
    for (CDrawObj* object : document.m_objects) {
        // Plain devices only: their interfaces and labels lead to them.
        if (!object->IsKindOf(CDrawSys::StaticClass()) || object->IsKindOf(CDrawNic::StaticClass())
            || object->IsKindOf(CDrawText::StaticClass()))
            continue;
        auto* system = static_cast<CDrawSys*>(object);
        if (Names(*system, wanted))
            found.append(system);
    }
    return found;
}

bool DeviceFinder::Names(const CDrawSys& system, const QString& wanted)
{
    if (system.m_strFqdn.contains(wanted, Qt::CaseInsensitive) || system.m_strUncName.contains(wanted, Qt::CaseInsensitive))
        return true;
    const QString mac = MacForm(wanted);
    for (const CDrawObj* object : system.m_nics) {
        if (!object || !object->IsKindOf(CDrawNic::StaticClass()))
            continue;
        const auto* nic = static_cast<const CDrawNic*>(object);
        if (!mac.isEmpty() && MacForm(nic->m_strMac).contains(mac))
            return true;
        for (quint32 address : nic->m_adwAddresses)
            if (CDrawNic::DottedAddress(address) == wanted)
                return true;
    }
    return false;
}

QString DeviceFinder::MacForm(const QString& text)
{
    QString form = text.toLower();
    form.replace(QLatin1Char(':'), QLatin1Char('-'));
    return form;
}
