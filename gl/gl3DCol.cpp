// The gl widgets' 3D colour sets and the global one among them.
#include "gl/gl3DCol.h"

#include "gl/glUtils.h"

#include "platform/core/Exceptions.h"
#include "platform/vcl/Graphics.h"

#include <algorithm>
#include <vector>

namespace {

constexpr Byte DefaultShift = 60;
constexpr const char* SecondInstance = "Cannot create more than one instance of Tgl3DLocalColors component";

// Every set alive, so that a set going away can be forgotten by the others.
std::vector<Tgl3DLocalColors*>& livingSets() {
    static std::vector<Tgl3DLocalColors*> sets;
    return sets;
}

} // namespace

Tgl3DLocalColors::Tgl3DLocalColors(TComponent* AOwner) : TComponent(AOwner) {
    tellGlobalSetsOfInsertion();
    SetDefaults();
    livingSets().push_back(this);
}

// The owner announced this set while it was still being constructed, before
// it could be told from any other component; a global set beside it hears
// of it again now.
void Tgl3DLocalColors::tellGlobalSetsOfInsertion() {
    if (!Owner()) return;
    for (Integer index = Owner()->ComponentCount() - 1; index >= 0; --index) {
        auto* global = dynamic_cast<Tgl3DColors*>(Owner()->Components(index));
        if (global && global != this) global->Notification(this, opInsert);
    }
}

Tgl3DLocalColors::~Tgl3DLocalColors() {
    glGlobalData.GlobalColors = nullptr;
    auto& sets = livingSets();
    sets.erase(std::remove(sets.begin(), sets.end(), this), sets.end());
    for (Tgl3DLocalColors* set : sets)
        if (set->previousGlobal_ == this) set->previousGlobal_ = nullptr;
}

void Tgl3DLocalColors::SetDefaults() {
    dkShadow_ = cl3DDkShadow;
    highlight_ = clBtnHighlight;
    shadow_ = clBtnShadow;
    shadowShift_ = DefaultShift;
    highlightShift_ = DefaultShift;
}

void Tgl3DLocalColors::CreateAuto3DColors(TColor BaseColor) {
    shadow_ = DecColor(BaseColor, shadowShift_);
    highlight_ = IncColor(BaseColor, highlightShift_);
}

void Tgl3DLocalColors::MakeGlobal() {
    previousGlobal_ = glGlobalData.GlobalColors;
    glGlobalData.GlobalColors = this;
}

void Tgl3DLocalColors::MakeLocal() {
    glGlobalData.GlobalColors = previousGlobal_;
}

Tgl3DColors::Tgl3DColors(TComponent* AOwner) : Tgl3DLocalColors(AOwner) {
    SetDefaults();
    glGlobalData.GlobalColors = this;
}

void Tgl3DColors::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opInsert && AComponent != this && dynamic_cast<Tgl3DLocalColors*>(AComponent)) {
        // The refused set is still being constructed: take it out of the
        // owner's list again, so that the owner keeps no pointer to it.
        if (TComponent* owner = AComponent->Owner()) owner->RemoveComponent(AComponent);
        throw EComponentError(SecondInstance);
    }
    Tgl3DLocalColors::Notification(AComponent, Operation);
}

namespace {

const TClass localColorsClass = DescribeClass<Tgl3DLocalColors,
                                              TComponent>([](TClassBuilder<Tgl3DLocalColors>& c) {
    using T = Tgl3DLocalColors;
    c.Property("DkShadow", &T::DkShadow, &T::SetDkShadow).Type(TypeInfoColor()).Default(cl3DDkShadow);
    c.Property("Highlight", &T::Highlight, &T::SetHighlight).Type(TypeInfoColor()).Default(clBtnHighlight);
    c.Property("Shadow", &T::Shadow, &T::SetShadow).Type(TypeInfoColor()).Default(clBtnShadow);
});
const TClass globalColorsClass = DescribeClass<Tgl3DColors, Tgl3DLocalColors>();

} // namespace
