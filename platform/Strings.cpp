#include "platform/Strings.h"

namespace {

// Length of the valid UTF-8 sequence starting at bytes[i] together with its code point,
// or 0 when the byte does not start one (bad lead byte, truncated, overlong, surrogate,
// beyond U+10FFFF).
std::size_t DecodeUtf8(const std::string& bytes, std::size_t i, char32_t& codePoint) {
    const auto byte = [&bytes](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    char32_t min;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() - i < length) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF) return 0;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
    return length;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

QString ToQString(const std::string& bytes) {
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t codePoint;
        if (const std::size_t length = DecodeUtf8(bytes, i, codePoint)) {
            if (codePoint < 0x10000) {
                text += QChar(static_cast<char16_t>(codePoint));
            } else {
                text += QChar(QChar::highSurrogate(codePoint));
                text += QChar(QChar::lowSurrogate(codePoint));
            }
            i += length;
        } else {
            // Only bytes 0x80..0xFF can be invalid: they become U+DC80..U+DCFF.
            text += QChar(static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(bytes[i])));
            ++i;
        }
    }
    return text;
}

std::string FromQString(const QString& text) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            AppendUtf8(bytes, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (unit >= 0xDC80 && unit <= 0xDCFF) {
            bytes += static_cast<char>(unit - 0xDC00);
        } else if (QChar::isSurrogate(unit)) {
            AppendUtf8(bytes, 0xFFFD);  // a lone surrogate has no UTF-8 form
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}
