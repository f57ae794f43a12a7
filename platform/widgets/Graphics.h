#pragma once
// Colours, fonts and pictures of the widget facade.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Exception.h"

class QColor;
class QImage;

// A colour as the toolkit numbers it: 0x00BBGGRR for a plain colour; 0x80000000 | n for the
// system colour n of the window system (taken from the application palette).
using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindow = static_cast<TColor>(0x80000005);
constexpr TColor clWindowText = static_cast<TColor>(0x80000008);
constexpr TColor clHighlight = static_cast<TColor>(0x8000000D);
constexpr TColor clHighlightText = static_cast<TColor>(0x8000000E);
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
constexpr TColor clGrayText = static_cast<TColor>(0x80000011);
constexpr TColor clBtnText = static_cast<TColor>(0x80000012);
constexpr TColor clInfoText = static_cast<TColor>(0x80000017);
constexpr TColor clInfoBk = static_cast<TColor>(0x80000018);

// The Qt colour of a toolkit colour; an unknown system colour raises Exception.
QColor ColorToQColor(TColor color);

// Raised when a picture file cannot be read or holds no image the toolkit can decode.
class EInvalidGraphic : public Exception {
public:
    using Exception::Exception;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// The font of a control. A control starts with the font of its parent (Qt's font
// inheritance); each setter changes the control's font at once.
class TFont {
public:
    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    // Family name ("MS Sans Serif"); a family that the system lacks falls back to a
    // similar one. Empty = inherited.
    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Height in pixels as the toolkit writes it: negative = character height (-11 is an
    // 11-pixel font); positive heights are taken as the same pixel size. 0 = inherited.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points (sets Height to the equivalent at 96 dots per inch). 0 = inherited.
    int Size() const;
    void SetSize(int points);
    // Combination of TFontStyle flags.
    unsigned Style() const { return style_; }
    void SetStyle(unsigned style);
    // Text colour; clWindowText (the default) keeps the style's own text colours.
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Called by the owning control: fn applies the font to its widget.
    void SetChangeHandler(std::function<void()> fn) { changed_ = std::move(fn); }
    bool ColorSet() const { return colorSet_; }

private:
    void Changed() {
        if (changed_) changed_();
    }
    std::string name_;
    int height_ = 0;
    unsigned style_ = 0;
    TColor color_ = clWindowText;
    bool colorSet_ = false;
    std::function<void()> changed_;
};

// An image held by a picture object, with the handler its control hangs on it.
class TImageHolder {
public:
    TImageHolder(const TImageHolder&) = delete;
    TImageHolder& operator=(const TImageHolder&) = delete;

    // fileName is a Windows-style name ("C:\dir\Get.bmp" or "dir\Get.bmp"), converted with
    // NativeFileName when opened, or a Qt resource path (":/images/ksv720e.jpg"). A missing
    // or unreadable file raises EInvalidGraphic and leaves the image as it was.
    void LoadFromFile(const std::string& fileName);
    void Clear();
    bool Empty() const;
    int Width() const;
    int Height() const;
    const QImage& Image() const { return *image_; }

    void SetChangeHandler(std::function<void()> fn) { changed_ = std::move(fn); }

protected:
    TImageHolder();
    ~TImageHolder();
    // Takes `image` and tells the handler.
    void Replace(const QImage& image);

private:
    std::unique_ptr<QImage> image_;
    std::function<void()> changed_;
};

// A bitmap, loaded from a BMP file (any format Qt reads is accepted).
class TBitmap : public TImageHolder {
public:
    TBitmap() = default;
};

// The picture of an image control: JPEG, PNG, BMP or any other format Qt reads.
class TPicture : public TImageHolder {
public:
    TPicture() = default;

    // Decodes an image held in memory (the bytes of a JPEG or PNG file).
    void LoadFromData(const std::string& bytes);
};
