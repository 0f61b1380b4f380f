#pragma once

// A bounded, big-endian reader of font file bytes for TrueTypeFont. Header
// only: every member is a few lines, and the font and cmap readers are its
// only users.

#include <QtGlobal>

namespace velk {

// A window on the font's bytes read big-endian from a cursor. The first
// read outside the window fails the reader, and it stays failed: later
// reads give 0, so a parser checks ok() once after a run of reads.
class FontByteReader {
public:
    FontByteReader() = default;
    FontByteReader(const char* data, qint64 size)
        : m_data(data)
        , m_size(size)
        , m_failed(data == nullptr || size < 0)
    {
    }

    bool ok() const { return !m_failed; }
    qint64 size() const { return m_size; }

    // Bytes [offset, offset + length) of this window.
    FontByteReader slice(qint64 offset, qint64 length) const
    {
        if (m_failed || !fits(offset, length))
            return failedReader();
        return FontByteReader(m_data + offset, length);
    }

    void seek(qint64 position)
    {
        if (!fits(position, 0))
            m_failed = true;
        else
            m_position = position;
    }

    void skip(qint64 count) { take(count); }
    quint8 u8() { return quint8(unsignedValue(1)); }
    quint16 u16() { return quint16(unsignedValue(2)); }
    qint16 i16() { return qint16(u16()); }
    quint32 u32() { return quint32(unsignedValue(4)); }
    qint32 i32() { return qint32(u32()); }

private:
    static FontByteReader failedReader()
    {
        FontByteReader reader;
        reader.m_failed = true;
        return reader;
    }

    // Both operands are bounded by the window, so the sum cannot overflow.
    bool fits(qint64 offset, qint64 length) const
    {
        return offset >= 0 && length >= 0 && offset <= m_size && length <= m_size - offset;
    }

    const char* take(qint64 count)
    {
        if (m_failed || !fits(m_position, count)) {
            m_failed = true;
            return nullptr;
        }
        const char* at = m_data + m_position;
        m_position += count;
        return at;
    }

    quint64 unsignedValue(int count)
    {
        const char* at = take(count);
        quint64 value = 0;
        for (int i = 0; at && i < count; ++i)
            value = (value << 8) | quint8(at[i]);
        return value;
    }

    const char* m_data = nullptr;
    qint64 m_size = 0;
    qint64 m_position = 0;
    bool m_failed = true;
};

} // namespace velk
