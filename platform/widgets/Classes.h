#pragma once
// Small value types shared by the widget facade: string lists, shift states and the
// signatures of event handlers.
//
// Event handlers are std::function objects. Every control hands out its current handler
// (OnChange(), OnExit(), ...) next to the setter, so that code can save a handler, install
// its own and later give the saved one back. An empty function means "no handler".
// A handler that throws while the toolkit calls it (from the event loop or from a property
// setter) does not unwind into Qt: the exception is shown by the application object
// (TApplication::HandleException), as the toolkit's default handler does.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Exception.h"
#include "platform/widgets/Component.h"

// Raised for an index outside a string list: "List index out of bounds (<index>)".
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// An ordered list of byte strings. The lists of controls (combo-box items, radio-group
// items, memo lines, list-item sub-items) derive from it and change their control as the
// list changes.
class TStrings {
public:
    TStrings() = default;
    virtual ~TStrings() = default;
    TStrings(const TStrings&) = delete;
    TStrings& operator=(const TStrings&) = delete;

    virtual int Count() const = 0;
    // Access by index; a bad index raises EStringListError.
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& text) = 0;
    // Inserts before index (0..Count(); Count() appends).
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    std::string operator[](int index) const { return Get(index); }
    std::string Strings(int index) const { return Get(index); }
    // Appends; returns the index of the new entry.
    int Add(const std::string& text);
    // First index whose text equals text without regard to case (locale-aware, as the
    // toolkit's string lists compare), or -1.
    int IndexOf(const std::string& text) const;
    // All entries joined with "\n" after each; SetText splits at "\r\n", "\n" or "\r".
    std::string Text() const;
    void SetText(const std::string& text);
    // Replaces the contents with a copy of source.
    void Assign(const TStrings& source);
    void AddStrings(const TStrings& source);
    std::vector<std::string> ToVector() const;

protected:
    // Raises EStringListError unless 0 <= index < limit.
    static void CheckIndex(int index, int limit);
};

// A plain string list held in memory.
class TStringList : public TStrings {
public:
    TStringList() = default;
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override { items_.clear(); }

private:
    std::vector<std::string> items_;
};

// Modifier keys and mouse buttons held during an input event.
enum TShiftFlag : unsigned {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};

class TShiftState {
public:
    constexpr TShiftState() = default;
    constexpr TShiftState(TShiftFlag flag) : bits_(flag) {}
    constexpr explicit TShiftState(unsigned bits) : bits_(bits) {}
    constexpr bool Contains(TShiftFlag flag) const { return (bits_ & flag) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr unsigned Bits() const { return bits_; }
    constexpr TShiftState operator|(TShiftState other) const {
        return TShiftState(bits_ | other.bits_);
    }
    constexpr bool operator==(const TShiftState& other) const = default;

private:
    unsigned bits_ = 0;
};
constexpr TShiftState operator|(TShiftFlag a, TShiftFlag b) {
    return TShiftState(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

using TNotifyEvent = std::function<void(TObject* sender)>;
// key is a Windows virtual-key code (VK_F3 = 0x72, see Controls.h); a handler that sets it
// to 0 swallows the key.
using TKeyEvent = std::function<void(TObject* sender, uint16_t& key, TShiftState shift)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
