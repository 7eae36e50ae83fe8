// Streaming of components in the framework's text form format: TReader builds
// components from a form resource ("object Name: TClass ... end"), TWriter
// writes them back, and DefineProperty lets a class store values of its own.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/FormText.h"

#include <memory>

class TStream;

using TReaderProc = Closure<void(TReader* Reader)>;
using TWriterProc = Closure<void(TWriter* Writer)>;
using TStreamProc = Closure<void(TStream* Stream)>;

class TFiler : public TObject {
public:
    // The component at the top of the resource being read or written.
    TComponent* Root() const { return root_; }
    // The component whose handler methods and components the names in the resource refer to.
    TComponent* LookupRoot() const { return lookupRoot_; }
    // While writing: the object this one is compared with (the same object
    // in the ancestor form); values equal to the ancestor's are not written.
    TObject* Ancestor() const { return ancestor_; }
    void SetAncestor(TObject* Value) { ancestor_ = Value; }

    // A stored value of the object being streamed: read with ReadData when the
    // resource has a property of that name, written with WriteData when HasData.
    virtual void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                                bool HasData) = 0;
    // The same for binary data, handed over in a stream.
    virtual void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                                      bool HasData) = 0;

protected:
    TComponent* root_ = nullptr;
    TComponent* lookupRoot_ = nullptr;
    TObject* ancestor_ = nullptr;
};

class TReader : public TFiler {
public:
    // Text is a whole form resource in the text form format.
    explicit TReader(const AnsiString& Text);
    ~TReader() override;

    // Reads the resource into Root (its properties and the components nested
    // in it, created with Root as owner), fixes component references by name,
    // then calls Loaded on every component read, in creation order. With a
    // null Root the class of the top object is created, found by name.
    TComponent* ReadRootComponent(TComponent* Root);

    // The owner and parent of components being created.
    TComponent* Owner() const { return owner_; }
    TComponent* Parent() const { return parent_; }
    // The name of the property being read (for DefineProperty readers).
    const AnsiString& PropName() const { return propName_; }

    // Reads Instance's properties and nested components; TComponent::ReadState calls it.
    void ReadData(TComponent* Instance);

    // Values, for DefineProperty readers. Each raises EReadError "Invalid
    // property value" when the next value is not of its kind.
    TValueType NextValue();
    // Takes the next value's type; a list or collection is entered, its end (vaNull) left.
    TValueType ReadValue();
    void SkipValue();
    Integer ReadInteger();
    Int64 ReadInt64();
    bool ReadBoolean();
    AnsiChar ReadChar();
    WideChar ReadWideChar();
    double ReadFloat();
    // A string value of any kind; wide ones are converted to the ANSI code page.
    AnsiString ReadString();
    // A string value of any kind; ANSI ones are converted from the ANSI code page.
    WideString ReadWideString();
    // An identifier, including True, False and nil.
    AnsiString ReadIdent();
    void ReadListBegin();
    bool EndOfList();
    void ReadListEnd();
    // Replaces Collection's items with those of the next value (a collection).
    void ReadCollection(TCollection* Collection);

    void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

private:
    friend bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
    void readComponent(const formtext::FormObject& Node);
    void readProperties(TPersistent* Instance, const std::vector<formtext::FormProperty>& Properties,
                        const AnsiString& Context);
    void readProperty(TObject* Instance, const formtext::FormProperty& Property);
    void readPropValue(TObject* Instance, const TPropInfo* Property);
    Int64 readOrdinalValue(const TTypeInfo* Type);
    void readObjectValue(TObject* Instance, const TPropInfo* Property);
    void readMethodValue(TObject* Instance, const TPropInfo* Property);
    void readDefinedProperty(TObject* Instance, const AnsiString& Name);
    void fixupReferences();
    const formtext::FormValue& takeValue();
    TComponent* createComponent(const formtext::FormObject& Node);

    struct State;
    std::unique_ptr<State> state_;
    TComponent* owner_ = nullptr;
    TComponent* parent_ = nullptr;
    AnsiString propName_;
    bool propertyDefined_ = false;
};

class TWriter : public TFiler {
public:
    TWriter();
    ~TWriter() override;

    // Writes Root and every component it gives through GetChildren, nested.
    void WriteRootComponent(TComponent* Root);
    // The same, writing only what differs from Ancestor (a root of the same
    // class, as the ancestor form builds it); components that the ancestor
    // has as well are written as "inherited".
    void WriteDescendent(TComponent* Root, TComponent* Ancestor);
    void WriteComponent(TComponent* Component);
    // Writes Instance's properties and nested components; TComponent::WriteState calls it.
    void WriteData(TComponent* Instance);
    // The text form of everything written so far.
    AnsiString Text() const;

    // Values, for DefineProperty writers.
    void WriteInteger(Int64 Value);
    void WriteBoolean(bool Value);
    void WriteChar(AnsiChar Value);
    void WriteWideChar(WideChar Value);
    void WriteFloat(double Value);
    void WriteString(const AnsiString& Value);
    void WriteWideString(const WideString& Value);
    void WriteIdent(const AnsiString& Ident);
    void WriteListBegin();
    void WriteListEnd();
    void WriteCollection(TCollection* Value);

    void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                        bool HasData) override;
    void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                              bool HasData) override;

private:
    void writeProperties(TObject* Instance);
    void writeProperty(TObject* Instance, const TPropInfo* Property);
    void writeOrdinal(TObject* Instance, const TPropInfo* Property);
    void writeObject(TObject* Instance, const TPropInfo* Property);
    void writeValue(formtext::FormValue Value);
    void addProperty(const AnsiString& Name, formtext::FormValue Value);
    TPersistent* ancestorChild(TComponent* Component) const;
    bool collectionsEqual(TCollection* A, TCollection* B);

    struct State;
    std::unique_ptr<State> state_;
};

// Reads a form resource text into Root (or a new component of the top
// object's class when Root is null); the result is the root.
TComponent* ReadComponentText(const AnsiString& Text, TComponent* Root);
// The form resource text of Root.
AnsiString WriteComponentText(TComponent* Root);

// Reads Instance's form resources: that of each class from below RootAncestor
// down to Instance's own class, found by class name among the embedded
// resources. False when there is none.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
