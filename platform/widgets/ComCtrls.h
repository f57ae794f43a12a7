#pragma once
// TStatusBar: a status line, either one simple text across the whole bar (SimplePanel on,
// or no panels at all) or a row of panels of given widths (the last one reaches to the
// right edge).
#include <memory>
#include <string>
#include <vector>

#include "platform/widgets/Controls.h"

class QLabel;
class TStatusBar;

class TStatusPanel {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    // Position among the panels.
    int Index() const;

private:
    friend class TStatusPanels;
    friend class TStatusBar;
    TStatusPanel(TStatusBar* bar, QLabel* label) : bar_(bar), label_(label) {}
    TStatusBar* bar_;
    QLabel* label_;
    std::string text_;
    int width_ = 50;
};

class TStatusPanels {
public:
    explicit TStatusPanels(TStatusBar* bar) : bar_(bar) {}
    ~TStatusPanels();
    TStatusPanels(const TStatusPanels&) = delete;
    TStatusPanels& operator=(const TStatusPanels&) = delete;

    int Count() const { return static_cast<int>(panels_.size()); }
    // Raises Exception for a bad index.
    TStatusPanel* Items(int index) const;
    TStatusPanel* operator[](int index) const { return Items(index); }
    // Appends a panel of width 50 with empty text.
    TStatusPanel* Add();
    void Delete(int index);
    void Clear();

private:
    friend class TStatusBar;
    friend class TStatusPanel;
    TStatusBar* bar_;
    std::vector<std::unique_ptr<TStatusPanel>> panels_;
};

class TStatusBar : public TWinControl {
public:
    // Aligned alBottom, 19 pixels high, SimplePanel off, no panels.
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;

    bool SimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool simple);
    const std::string& SimpleText() const { return simpleText_; }
    void SetSimpleText(const std::string& text);
    TStatusPanels& Panels() { return panels_; }

protected:
    void GeometryChanged() override;

private:
    friend class TStatusPanels;
    friend class TStatusPanel;
    void Arrange();
    QLabel* simple_;
    std::string simpleText_;
    bool simplePanel_ = false;
    TStatusPanels panels_;
};
