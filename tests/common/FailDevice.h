#pragma once

#include <QBuffer>

namespace vexa::test {

// A buffer that accepts `capacity` bytes and then fails every further write, so
// tests can prove that a write error reaches the caller.
class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 capacity, QObject *parent = nullptr) : QBuffer(parent), m_capacity(capacity) {}

protected:
    qint64 writeData(const char *data, qint64 len) override
    {
        const qint64 room = m_capacity - buffer().size();
        if (room <= 0)
            return -1;
        return QBuffer::writeData(data, qMin(len, room));
    }

private:
    qint64 m_capacity;
};

} // namespace vexa::test
