#include "IpAddressEdit.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>

IpAddressEdit::IpAddressEdit(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("octet%1").arg(i));
        field->setMaxLength(3);
        field->setValidator(new QIntValidator(0, 255, field));
        field->setAlignment(Qt::AlignCenter);
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8);
        layout->addWidget(field);
        m_fields[i] = field;
    }
    layout->addStretch();
    setFocusProxy(m_fields.front());
}

bool IpAddressEdit::IsComplete() const
{
    for (const QLineEdit* field : m_fields)
        if (field->text().isEmpty())
            return false;
    return true;
}

quint32 IpAddressEdit::Address() const
{
    quint32 address = 0;
    for (size_t i = 0; i < m_fields.size(); ++i)
        address |= (m_fields[i]->text().toUInt() & 0xFF) << (8 * i);
    return address;
}

void IpAddressEdit::SetAddress(quint32 networkOrder)
{
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(QString::number((networkOrder >> (8 * i)) & 0xFF));
}

void IpAddressEdit::SetText(const QString& dotted)
{
    const QStringList parts = dotted.split(QLatin1Char('.'));
    for (size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(parts.value(qsizetype(i)));
}

QString IpAddressEdit::Text() const
{
    QStringList parts;
    for (const QLineEdit* field : m_fields)
        parts.append(field->text());
    return parts.join(QLatin1Char('.'));
}

void IpAddressEdit::Clear()
{
    for (QLineEdit* field : m_fields)
        field->clear();
}
