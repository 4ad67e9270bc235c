#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: a property check that keeps the input as a
// finding, and a reader that takes the fields of an input from its front,
// so a seed file can be written field by field.
namespace quillon::fuzz {

[[noreturn]] inline void fail(const char *condition, const char *file, int line, const QString &detail)
{
    std::fprintf(stderr, "\n%s:%d: property broken: %s\n  %s\n", file, line, condition, qPrintable(detail));
    std::fflush(stderr);
    // libFuzzer keeps the input that got here as a crash artifact.
    std::abort();
}

// A warning of Qt's (an argument missing from a text, an index out of a
// list) is a misuse in the model: a finding like any other, as is a failed
// assertion.
inline void onQtMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    fail("no warning from Qt", context.file ? context.file : "Qt", context.line, message);
}
inline const bool kQtMessagesChecked = (qInstallMessageHandler(onQtMessage), true);

// Bytes as upper-case hex pairs, for the messages.
inline QString hexText(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

class Input {
public:
    Input(const std::uint8_t *data, std::size_t size)
        : m_data(reinterpret_cast<const char *>(data)), m_size(qsizetype(size)) {}

    bool atEnd() const { return m_at >= m_size; }
    qsizetype remaining() const { return m_size - m_at; }

    // 0 once the input is used up.
    std::uint8_t byte() { return atEnd() ? 0 : static_cast<std::uint8_t>(m_data[m_at++]); }
    bool flag() { return byte() & 1; }
    // Two bytes, big-endian.
    int word() { const int high = byte(); return high << 8 | byte(); }
    // low..high, from one byte when the span fits one, else from two.
    int range(int low, int high)
    {
        const int span = high - low + 1;
        return low + (span <= 256 ? byte() : word()) % span;
    }
    // At most n bytes.
    QByteArray bytes(qsizetype n)
    {
        const qsizetype count = std::clamp<qsizetype>(n, 0, remaining());
        const QByteArray out(m_data + m_at, count);
        m_at += count;
        return out;
    }
    // A length byte, then that many bytes.
    QByteArray chunk() { return bytes(byte()); }
    // A length byte, a form byte and the bytes: Latin-1 (every single-byte
    // code), UTF-8, or raw UTF-16 units (lone surrogates too).
    QString text()
    {
        const int length = byte();
        const int form = byte() % 3;
        const QByteArray raw = bytes(length);
        switch (form) {
        case 0: return QString::fromLatin1(raw);
        case 1: return QString::fromUtf8(raw);
        default: return QString(reinterpret_cast<const QChar *>(raw.constData()), raw.size() / 2);
        }
    }
    QByteArray rest() { return bytes(remaining()); }

private:
    const char *m_data;
    qsizetype m_size;
    qsizetype m_at = 0;
};

} // namespace quillon::fuzz

#define FUZZ_CHECK(condition, detail)                                                 \
    do {                                                                              \
        if (!(condition))                                                             \
            ::quillon::fuzz::fail(#condition, __FILE__, __LINE__, (detail));          \
    } while (0)
