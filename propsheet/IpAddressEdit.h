#pragma once

#include <QWidget>

#include <array>

class QLineEdit;

// An IPv4 address in four fields of 0 to 255, like the platform's address
// control: it may be partly filled, and only a full one is an address.
class IpAddressEdit : public QWidget {
    Q_OBJECT

public:
    explicit IpAddressEdit(QWidget* parent = nullptr);

    bool IsComplete() const;
    // The address in network order (first octet in the lowest byte).
    quint32 Address() const;
    void SetAddress(quint32 networkOrder);
    void SetText(const QString& dotted);
    QString Text() const;
    void Clear();

private:
    std::array<QLineEdit*, 4> m_fields{};
};
