#include "platform/widgets/Component.h"

#include <algorithm>
#include <cctype>

#include "platform/Exception.h"

namespace {
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}
}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    // Each owned component removes itself from components_ in its own destructor.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;
        // A component whose destructor did not reach ~TComponent cannot exist, but never
        // loop forever on a list that did not shrink.
        if (!components_.empty() && components_.back() == last) components_.pop_back();
    }
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    return components_[static_cast<std::size_t>(index)];
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameName(c->Name(), name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    component->owner_ = nullptr;
}
