#include "platform/widgets/ComCtrls.h"

#include <algorithm>

#include <QLabel>
#include <QWidget>

#include "platform/Strings.h"

namespace {

QLabel* MakePanelLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setIndent(2);
    return label;
}

}  // namespace

void TStatusPanel::SetText(const std::string& text) {
    text_ = text;
    label_->setText(ToQString(text));
}

void TStatusPanel::SetWidth(int width) {
    width_ = std::max(0, width);
    bar_->Arrange();
}

int TStatusPanel::Index() const {
    const auto& list = bar_->panels_.panels_;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == this) return static_cast<int>(i);
    return -1;
}

TStatusPanels::~TStatusPanels() = default;

TStatusPanel* TStatusPanels::Items(int index) const {
    if (index < 0 || index >= Count())
        throw Exception("Status panel index out of bounds (" + std::to_string(index) + ")");
    return panels_[static_cast<std::size_t>(index)].get();
}

TStatusPanel* TStatusPanels::Add() {
    panels_.push_back(
        std::unique_ptr<TStatusPanel>(new TStatusPanel(bar_, MakePanelLabel(bar_->Widget()))));
    bar_->Arrange();
    return panels_.back().get();
}

void TStatusPanels::Delete(int index) {
    TStatusPanel* panel = Items(index);
    delete panel->label_;
    panels_.erase(panels_.begin() + index);
    bar_->Arrange();
}

void TStatusPanels::Clear() {
    for (auto& panel : panels_) delete panel->label_;
    panels_.clear();
    bar_->Arrange();
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner, new QWidget), panels_(this) {
    simple_ = MakePanelLabel(Widget());
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
    Arrange();
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool simple) {
    simplePanel_ = simple;
    Arrange();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    simpleText_ = text;
    simple_->setText(ToQString(text));
}

void TStatusBar::GeometryChanged() {
    TWinControl::GeometryChanged();
    Arrange();
}

void TStatusBar::Arrange() {
    const int w = Widget()->width();
    const int h = Widget()->height();
    // A bar without panels shows its simple text too: a message strip made of a bare status
    // bar shows what is written into it.
    const bool simple = simplePanel_ || panels_.panels_.empty();
    simple_->setVisible(simple);
    simple_->setGeometry(0, 0, w, h);
    int x = 0;
    const auto& list = panels_.panels_;
    for (std::size_t i = 0; i < list.size(); ++i) {
        QLabel* label = list[i]->label_;
        label->setVisible(!simple);
        const int width = i + 1 == list.size() ? std::max(list[i]->width_, w - x) : list[i]->width_;
        label->setGeometry(x, 0, width, h);
        x += width;
    }
}
