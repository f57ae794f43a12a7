#pragma once
// TObject and TComponent: the root of the widget facade and its ownership rule.
//
// Every component may have an owner. The owner destroys the components it owns when it is
// destroyed itself (the most recently added first); a component that is destroyed earlier
// leaves its owner's list by itself, so `delete` on an owned component is always safe.
// Visual containment (the parent that shows a control) is a separate relation, kept by
// TControl/TWinControl (Controls.h).
#include <string>
#include <vector>

// Base of everything that can be the sender of an event.
class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
};

class TComponent : public TObject {
public:
    // Adds the component to owner's list; owner may be null (then the creator deletes it).
    explicit TComponent(TComponent* owner);
    // Destroys the owned components, then leaves the owner's list.
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    // The owned component at index (0 = the first added); throws EListError-style
    // Exception("List index out of bounds (i)") for a bad index.
    TComponent* Components(int index) const;
    // The owned component with the given name (names compare without regard to ASCII
    // case, as the form designer's names do), or null.
    TComponent* FindComponent(const std::string& name) const;

    // Moves a component into this owner's list (it leaves its former owner's list).
    void InsertComponent(TComponent* component);
    // Takes a component out of this owner's list; it then has no owner.
    void RemoveComponent(TComponent* component);

    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name) { name_ = name; }
    // A free integer for the program's own use (0 after construction).
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

protected:
    // True while the destructor of this component runs (derived destructors included once
    // they call BeginDestroy()).
    bool Destroying() const { return destroying_; }
    void BeginDestroy() { destroying_ = true; }

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::string name_;
    int tag_ = 0;
    bool destroying_ = false;
};
