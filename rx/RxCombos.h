// Combo boxes that draw their own items: TOwnerDrawComboBox (a fixed item
// height taken from its font) and TColorComboBox (named colours, each a
// framed swatch and, optionally, its name; the choice is ColorValue).
#pragma once

#include "platform/vcl/StdCtrls.h"

#include <memory>

// The styles of the framework's combo box that an owner-drawn one can take.
using TOwnerDrawComboStyle = TComboBoxStyle;

class TOwnerDrawComboBox : public TCustomComboBox {
public:
    explicit TOwnerDrawComboBox(TComponent* AOwner);

    TOwnerDrawComboStyle Style() const { return ownerDrawStyle_; }
    void SetStyle(TComboBoxStyle Value) override;
    void Dispatch(TMessage& Message) override;

protected:
    // The font's height plus one, at least 9.
    virtual Integer GetItemHeight();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void applyItemHeight();

    TOwnerDrawComboStyle ownerDrawStyle_ = csDropDownList;
    bool itemHeightChanging_ = false;
};

enum TColorComboOption { coIncludeDefault, coIncludeNone };
using TColorComboOptions = TSet<TColorComboOption>;

class TColorComboBox : public TOwnerDrawComboBox {
public:
    explicit TColorComboBox(TComponent* AOwner);
    ~TColorComboBox() override;

    // The chosen colour; in an editable style without a selection, the colour
    // the text names or gives as a number.
    TColor ColorValue();
    // Selects the item of that colour (none in a list style when no item has it).
    void SetColorValue(TColor Value);
    bool DisplayNames() const { return displayNames_; }
    void SetDisplayNames(bool Value);
    // Names by table position in place of the standard ones.
    TStrings* ColorNames() const { return colorNames_.get(); }
    void SetColorNames(TStrings* Value) { colorNames_->Assign(Value); }
    TColorComboOptions Options() const { return options_; }
    void SetOptions(TColorComboOptions Value);
    // The colour of item Index.
    TColor ItemColor(Integer Index) const;

    // Fired when ColorValue changes (not while a form is read).
    TNotifyEvent OnChange;

protected:
    virtual void PopulateList();
    void CreateWnd() override;
    void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;
    void Click() override;
    void Change() override;
    void DoChange();

private:
    void ColorNamesChanged(TObject* Sender);

    TColor colorValue_ = clBlack;
    bool displayNames_ = true;
    std::unique_ptr<TStringList> colorNames_;
    TColorComboOptions options_;
};
