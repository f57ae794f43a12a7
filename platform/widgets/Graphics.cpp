#include "platform/widgets/Graphics.h"

#include <QApplication>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPalette>

#include "platform/Strings.h"
#include "platform/System.h"

QColor ColorToQColor(TColor color) {
    const auto bits = static_cast<uint32_t>(color);
    if ((bits & 0x80000000u) == 0)
        return QColor(static_cast<int>(bits & 0xFF), static_cast<int>((bits >> 8) & 0xFF),
                      static_cast<int>((bits >> 16) & 0xFF));
    const QPalette palette = QApplication::palette();
    switch (bits & 0xFF) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 13:
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 15:
            return palette.color(QPalette::Button);
        case 17:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:
            return palette.color(QPalette::ButtonText);
        case 23:
            return palette.color(QPalette::ToolTipText);
        case 24:
            return palette.color(QPalette::ToolTipBase);
        default:
            break;
    }
    throw Exception("Unknown system colour " + std::to_string(bits & 0xFF));
}

void TFont::SetName(const std::string& name) {
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    height_ = height;
    Changed();
}

int TFont::Size() const {
    if (height_ == 0) return 0;
    const int pixels = height_ < 0 ? -height_ : height_;
    return (pixels * 72 + 48) / 96;
}

void TFont::SetSize(int points) {
    height_ = points <= 0 ? 0 : -((points * 96 + 36) / 72);
    Changed();
}

void TFont::SetStyle(unsigned style) {
    style_ = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    color_ = color;
    colorSet_ = true;
    Changed();
}

namespace {
QImage ReadImage(const std::string& fileName, bool resourceAllowed) {
    QString path;
    if (resourceAllowed && fileName.rfind(":/", 0) == 0)
        path = ToQString(fileName);
    else
        path = ToQString(NativeFileName(fileName));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EInvalidGraphic("Cannot open picture file " + fileName);
    QImage image;
    if (!image.loadFromData(file.readAll()) || image.isNull())
        throw EInvalidGraphic("Picture file " + fileName + " holds no readable image");
    return image;
}
}  // namespace

TImageHolder::TImageHolder() : image_(std::make_unique<QImage>()) {}
TImageHolder::~TImageHolder() = default;

void TImageHolder::Replace(const QImage& image) {
    *image_ = image;
    if (changed_) changed_();
}

void TImageHolder::LoadFromFile(const std::string& fileName) {
    Replace(ReadImage(fileName, true));
}

void TImageHolder::Clear() {
    Replace(QImage());
}

bool TImageHolder::Empty() const {
    return image_->isNull();
}
int TImageHolder::Width() const {
    return image_->width();
}
int TImageHolder::Height() const {
    return image_->height();
}

void TPicture::LoadFromData(const std::string& bytes) {
    QImage image;
    if (!image.loadFromData(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))) ||
        image.isNull())
        throw EInvalidGraphic("The picture data holds no readable image");
    Replace(image);
}
