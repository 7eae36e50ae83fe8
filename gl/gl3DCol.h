// The three colours every bevel of the gl widgets is drawn with, as a
// non-visual component: Tgl3DLocalColors holds a set, Tgl3DColors makes
// itself the global set (glGlobalData) when it is created.
#pragma once

#include "gl/glTypes.h"
#include "platform/vcl/Components.h"

class Tgl3DLocalColors : public TComponent {
public:
    explicit Tgl3DLocalColors(TComponent* AOwner);
    // Leaves no set global, and no other set remembering this one.
    ~Tgl3DLocalColors() override;

    TColor DkShadow() const { return dkShadow_; }
    void SetDkShadow(TColor Value) { dkShadow_ = Value; }
    TColor Highlight() const { return highlight_; }
    void SetHighlight(TColor Value) { highlight_ = Value; }
    TColor Shadow() const { return shadow_; }
    void SetShadow(TColor Value) { shadow_ = Value; }

    void SetDefaults();
    // Shadow and highlight derived from BaseColor; the dark shadow stays.
    void CreateAuto3DColors(TColor BaseColor);
    // Remembers the current global set and makes this one global.
    void MakeGlobal();
    // Makes the remembered set global again (none when it has been freed).
    void MakeLocal();

private:
    void tellGlobalSetsOfInsertion();

    TColor dkShadow_;
    TColor highlight_;
    TColor shadow_;
    Byte shadowShift_;
    Byte highlightShift_;
    Tgl3DLocalColors* previousGlobal_ = nullptr;
};

// The global set: a second set among its owner's components is refused.
class Tgl3DColors : public Tgl3DLocalColors {
public:
    explicit Tgl3DColors(TComponent* AOwner);
    void Notification(TComponent* AComponent, TOperation Operation) override;
};
