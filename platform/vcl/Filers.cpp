// TReader and TWriter over the text form format: components are created and
// their properties set from the tree that FormText parses, and written back
// into such a tree.
#include "platform/vcl/Filers.h"

#include "platform/core/Classes.h"
#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Resources.h"

#include <algorithm>

using namespace formtext;

namespace {

constexpr const char* SInvalidPropertyValue = "Invalid property value";
constexpr const char* SInvalidStream = "Invalid stream format";
constexpr const char* SPropertyException = "Error reading %s.%s: %s";
constexpr const char* SUnknownProperty = "Property %s does not exist";
constexpr const char* SAncestorNotFound = "Ancestor for '%s' not found";
constexpr const char* SInvalidPropertyPath = "Invalid property path";
constexpr const char* SReadOnlyProperty = "Property %s is read-only";

// A failure already reported with the property it happened in; outer
// properties pass it on as it is.
class EPropertyReadError : public EReadError {
public:
    using EReadError::EReadError;
};

[[noreturn]] void invalidValue() {
    throw EReadError(SInvalidPropertyValue);
}

bool isIntegerValue(TValueType type) {
    return type == vaInt8 || type == vaInt16 || type == vaInt32 || type == vaInt64;
}

bool isFloatValue(TValueType type) {
    return type == vaExtended || type == vaSingle || type == vaCurrency || type == vaDate;
}

bool isAnsiStringValue(TValueType type) {
    return type == vaString || type == vaLString;
}

AnsiString ansiText(const FormValue& value) {
    if (isAnsiStringValue(value.Type)) return value.Text;
    if (value.Type == vaWString) return WideToAnsi(value.Wide);
    if (value.Type == vaUTF8String) return Utf8ToAnsi(value.Text);
    invalidValue();
}

WideString wideText(const FormValue& value) {
    if (isAnsiStringValue(value.Type)) return AnsiToWide(value.Text);
    if (value.Type == vaWString) return value.Wide;
    if (value.Type == vaUTF8String) return UTF8Decode(value.Text);
    invalidValue();
}

// The identifier form of a value: True, False and nil count as identifiers.
AnsiString identText(const FormValue& value) {
    if (value.Type == vaIdent || value.Type == vaNil || value.Type == vaTrue || value.Type == vaFalse)
        return value.Text;
    invalidValue();
}

std::unique_ptr<TMemoryStream> streamOf(const AnsiString& bytes) {
    auto stream = std::make_unique<TMemoryStream>();
    stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    stream->SetPosition(0);
    return stream;
}

AnsiString bytesOf(TMemoryStream& stream) {
    return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

// The "Strings" property of string lists: the core layer's TStrings cannot
// see the filers, so they are given it here.
class StringsFiler : public TObject {
public:
    explicit StringsFiler(TStrings* strings) : strings_(strings) {}

    void Define(TFiler* filer) {
        auto* ancestor = dynamic_cast<TStrings*>(filer->Ancestor());
        bool hasData = ancestor ? !strings_->Equals(ancestor) : strings_->Count() > 0;
        filer->DefineProperty("Strings", TReaderProc(this, &StringsFiler::ReadData),
                              TWriterProc(this, &StringsFiler::WriteData), hasData);
    }

private:
    void ReadData(TReader* reader) {
        reader->ReadListBegin();
        strings_->BeginUpdate();
        try {
            strings_->Clear();
            while (!reader->EndOfList())
                strings_->Add(reader->ReadString());
        } catch (...) {
            strings_->EndUpdate();
            throw;
        }
        strings_->EndUpdate();
        reader->ReadListEnd();
    }

    void WriteData(TWriter* writer) {
        writer->WriteListBegin();
        for (Integer i = 0; i < strings_->Count(); ++i)
            writer->WriteString(strings_->Strings(i));
        writer->WriteListEnd();
    }

    TStrings* strings_;
};

void defineObjectProperties(TObject* instance, TFiler* filer) {
    if (auto* strings = dynamic_cast<TStrings*>(instance)) StringsFiler(strings).Define(filer);
    if (auto* persistent = dynamic_cast<TPersistent*>(instance)) persistent->DefineProperties(filer);
}

// The property record that Instance's class has under this name, or null.
const TPropInfo* propertyOf(const TObject* instance, const AnsiString& name) {
    TClass described = FindClassOfType(typeid(*instance));
    return described ? described->FindProperty(name) : nullptr;
}

std::vector<const TPropInfo*> propertiesOf(const TObject* instance) {
    if (dynamic_cast<const TComponent*>(instance)) return ClassTypeOf(instance)->Properties();
    TClass described = FindClassOfType(typeid(*instance));
    return described ? described->Properties() : std::vector<const TPropInfo*>{};
}

std::vector<AnsiString> splitPath(const AnsiString& path) {
    std::vector<AnsiString> parts;
    std::size_t start = 0;
    for (std::size_t dot = path.find('.'); dot != AnsiString::npos; dot = path.find('.', start)) {
        parts.push_back(path.substr(start, dot - start));
        start = dot + 1;
    }
    parts.push_back(path.substr(start));
    return parts;
}

AnsiString namePathOf(TObject* instance) {
    if (auto* persistent = dynamic_cast<TPersistent*>(instance)) {
        AnsiString path = persistent->GetNamePath();
        if (!path.empty()) return path;
    }
    return ClassNameOfType(typeid(*instance));
}

} // namespace

// --- TReader ----------------------------------------------------------------

struct TReader::State {
    // Where the next values come from: a property's one value, the items of a
    // list being read, or a collection entered by ReadValue.
    struct Frame {
        const FormValue* Values = nullptr;
        std::size_t Count = 0;
        std::size_t Position = 0;
    };
    struct Fixup {
        TObject* Instance;
        const TPropInfo* Property;
        AnsiString Name;
    };

    FormObject top;
    std::vector<const FormObject*> objects;
    std::vector<Frame> frames;
    const FormValue* enteredCollection = nullptr;
    std::vector<Fixup> fixups;
    std::vector<TComponent*> loaded;
    // While the resources of several classes are read into one root, Loaded
    // waits for the last of them.
    std::vector<TComponent*>* sharedLoaded = nullptr;
};

TReader::TReader(const AnsiString& Text) : state_(std::make_unique<State>()) {
    state_->top = ParseFormText(Text);
}

TReader::~TReader() = default;

namespace {
AnsiString uniqueRootName(TComponent* root, const AnsiString& name) {
    TComponent* owner = root->Owner();
    if (!owner) return name;
    AnsiString candidate = name;
    for (Integer suffix = 1; owner->FindComponent(candidate) && owner->FindComponent(candidate) != root;
         ++suffix)
        candidate = name + "_" + IntToStr(suffix);
    return candidate;
}
} // namespace

TComponent* TReader::ReadRootComponent(TComponent* Root) {
    const FormObject& top = state_->top;
    bool created = !Root;
    if (created) Root = FindClass(top.ClassName)->CreateComponent(nullptr);
    root_ = lookupRoot_ = owner_ = Root;
    std::vector<TComponent*>& loaded = state_->sharedLoaded ? *state_->sharedLoaded : state_->loaded;
    try {
        Root->setState(csLoading, true);
        Root->setState(csReading, true);
        if (!top.Name.empty()) Root->SetName(uniqueRootName(Root, top.Name));
        if (std::find(loaded.begin(), loaded.end(), Root) == loaded.end())
            loaded.insert(loaded.begin(), Root);
        state_->objects.push_back(&top);
        Root->ReadState(this);
        state_->objects.pop_back();
        Root->setState(csReading, false);
        fixupReferences();
    } catch (...) {
        for (TComponent* component : loaded) {
            component->setState(csReading, false);
            component->setState(csLoading, false);
        }
        if (created) delete Root;
        throw;
    }
    if (!state_->sharedLoaded)
        for (TComponent* component : loaded)
            component->Loaded();
    return Root;
}

void TReader::ReadData(TComponent* Instance) {
    const FormObject& node = *state_->objects.back();
    readProperties(Instance, node.Properties, namePathOf(Instance));
    TComponent* savedOwner = owner_;
    TComponent* savedParent = parent_;
    parent_ = Instance->GetChildParent();
    owner_ = Instance->GetChildOwner() ? Instance->GetChildOwner() : root_;
    for (const FormObject& child : node.Children)
        readComponent(child);
    owner_ = savedOwner;
    parent_ = savedParent;
}

TComponent* TReader::createComponent(const FormObject& Node) {
    TClass componentClass = nullptr;
    for (TClass fieldClass : ClassTypeOf(root_)->FieldClasses())
        if (SameText(fieldClass->ClassName(), Node.ClassName)) componentClass = fieldClass;
    if (!componentClass) componentClass = FindClass(Node.ClassName);
    TComponent* component = componentClass->CreateComponent(owner_);
    try {
        component->setState(csLoading, true);
        component->setState(csReading, true);
        component->SetName(Node.Name);
    } catch (...) {
        delete component;
        throw;
    }
    return component;
}

void TReader::readComponent(const FormObject& Node) {
    TComponent* instance = Node.Kind == ObjectKind::Object ? nullptr : owner_->FindComponent(Node.Name);
    // A frame held inline is made here unless an ancestor form made it already.
    if (!instance && Node.Kind != ObjectKind::Inherited) instance = createComponent(Node);
    if (!instance) throw EReadError(Format(SAncestorNotFound, {Node.Name}));
    if (Node.Kind == ObjectKind::Inline) instance->setState(csInline, true);
    instance->setState(csLoading, true);
    instance->setState(csReading, true);
    std::vector<TComponent*>& loaded = state_->sharedLoaded ? *state_->sharedLoaded : state_->loaded;
    if (std::find(loaded.begin(), loaded.end(), instance) == loaded.end()) loaded.push_back(instance);
    if (parent_ && instance->HasParent()) instance->SetParentComponent(parent_);
    state_->objects.push_back(&Node);
    instance->ReadState(this);
    state_->objects.pop_back();
    instance->setState(csReading, false);
}

void TReader::readProperties(TPersistent* Instance, const std::vector<FormProperty>& Properties,
                             const AnsiString& Context) {
    for (const FormProperty& property : Properties) {
        try {
            readProperty(Instance, property);
        } catch (const EPropertyReadError&) {
            throw;
        } catch (const Exception& error) {
            throw EPropertyReadError(Format(SPropertyException, {Context, property.Name, error.Message}));
        }
    }
}

void TReader::readProperty(TObject* Instance, const FormProperty& Property) {
    std::vector<AnsiString> path = splitPath(Property.Name);
    TObject* target = Instance;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        const TPropInfo* step = propertyOf(target, path[i]);
        if (!step || step->PropType->Kind != tkClass) throw EReadError(SInvalidPropertyPath);
        target = GetObjectProp(target, step);
        if (!target) throw EReadError(SInvalidPropertyPath);
    }
    std::size_t savedFrames = state_->frames.size();
    state_->frames.push_back(State::Frame{&Property.Value, 1, 0});
    propName_ = path.back();
    try {
        if (const TPropInfo* property = propertyOf(target, propName_))
            readPropValue(target, property);
        else
            readDefinedProperty(target, propName_);
    } catch (...) {
        state_->frames.resize(savedFrames);
        throw;
    }
    state_->frames.resize(savedFrames);
}

void TReader::readDefinedProperty(TObject* Instance, const AnsiString& Name) {
    propertyDefined_ = false;
    defineObjectProperties(Instance, this);
    if (!propertyDefined_) throw EReadError(Format(SUnknownProperty, {Name}));
}

void TReader::readPropValue(TObject* Instance, const TPropInfo* Property) {
    if (!Property->Setter && Property->PropType->Kind != tkClass)
        throw EPropertyError(Format(SReadOnlyProperty, {Property->Name}));
    switch (Property->PropType->Kind) {
    case tkFloat:
        return SetFloatProp(Instance, Property, ReadFloat());
    case tkLString:
        return SetStrProp(Instance, Property, ReadString());
    case tkWString:
        return SetWideStrProp(Instance, Property, ReadWideString());
    case tkClass:
        return readObjectValue(Instance, Property);
    case tkMethod:
        return readMethodValue(Instance, Property);
    default:
        return SetOrdProp(Instance, Property, readOrdinalValue(Property->PropType));
    }
}

Int64 TReader::readOrdinalValue(const TTypeInfo* Type) {
    switch (Type->Kind) {
    case tkChar:
        return static_cast<unsigned char>(ReadChar());
    case tkWChar:
        return ReadWideChar();
    case tkEnumeration: {
        Integer ordinal = GetEnumValue(Type, identText(takeValue()));
        if (ordinal < 0) invalidValue();
        return ordinal;
    }
    case tkSet: {
        const FormValue& value = takeValue();
        if (value.Type != vaSet) invalidValue();
        UInt64 bits = 0;
        for (const AnsiString& name : value.Names) {
            Integer element = GetEnumValue(Type->CompType, name);
            if (element < 0) invalidValue();
            bits |= UInt64{1} << element;
        }
        return static_cast<Int64>(bits);
    }
    case tkInteger:
    case tkInt64: {
        const FormValue& value = takeValue();
        if (isIntegerValue(value.Type)) return value.Integer;
        Integer fromIdent = 0;
        TIdentToInt identToInt = FindIdentToInt(Type);
        if (value.Type == vaIdent && identToInt && identToInt(value.Text, fromIdent)) return fromIdent;
        invalidValue();
    }
    default:
        invalidValue();
    }
}

// A collection is read into the object the property holds; a component
// reference waits for the fix-up at the end, when every name is known.
void TReader::readObjectValue(TObject* Instance, const TPropInfo* Property) {
    TValueType next = NextValue();
    if (next == vaCollection) {
        auto* collection = dynamic_cast<TCollection*>(GetObjectProp(Instance, Property));
        if (!collection) invalidValue();
        ReadCollection(collection);
    } else if (next == vaNil && Property->Setter) {
        takeValue();
        SetObjectProp(Instance, Property, nullptr);
    } else if (next == vaIdent && Property->Setter) {
        state_->fixups.push_back(State::Fixup{Instance, Property, takeValue().Text});
    } else {
        invalidValue();
    }
}

// Handlers are the published methods of the lookup root, found by name.
void TReader::readMethodValue(TObject* Instance, const TPropInfo* Property) {
    const TTypeInfo* type = Property->PropType;
    const FormValue& value = takeValue();
    if (value.Type == vaNil) return SetMethodProp(Instance, Property, type->EmptyMethod());
    const TMethodInfo* method = ClassTypeOf(lookupRoot_)->FindMethod(identText(value));
    if (!method || method->MethodType != type) invalidValue();
    SetMethodProp(Instance, Property, method->Bind(lookupRoot_));
}

void TReader::fixupReferences() {
    for (const State::Fixup& fixup : state_->fixups) {
        std::vector<AnsiString> parts = splitPath(fixup.Name);
        TComponent* found = nullptr;
        if (parts.size() == 1)
            found = SameText(parts[0], root_->Name()) ? root_ : root_->FindComponent(parts[0]);
        else if (parts.size() == 2 && SameText(parts[0], root_->Name()))
            found = root_->FindComponent(parts[1]);
        // A name that is not found stays unresolved (nil), as a reference to
        // a form that does not exist yet does.
        if (!found) continue;
        if (!fixup.Property->PropType->IsInstance(found))
            throw EReadError(Format(SPropertyException, {namePathOf(fixup.Instance), fixup.Property->Name,
                                                         SInvalidPropertyValue}));
        SetObjectProp(fixup.Instance, fixup.Property, found);
    }
    state_->fixups.clear();
}

const FormValue& TReader::takeValue() {
    if (state_->frames.empty()) invalidValue();
    State::Frame& frame = state_->frames.back();
    if (frame.Position >= frame.Count) invalidValue();
    return frame.Values[frame.Position++];
}

TValueType TReader::NextValue() {
    if (state_->frames.empty()) return vaNull;
    const State::Frame& frame = state_->frames.back();
    return frame.Position < frame.Count ? frame.Values[frame.Position].Type : vaNull;
}

TValueType TReader::ReadValue() {
    TValueType next = NextValue();
    if (next == vaNull) {
        if (state_->frames.size() > 1) state_->frames.pop_back();
        return vaNull;
    }
    const FormValue& value = takeValue();
    if (value.Type == vaList) state_->frames.push_back(State::Frame{value.List.data(), value.List.size(), 0});
    if (value.Type == vaCollection) state_->enteredCollection = &value;
    return value.Type;
}

void TReader::SkipValue() {
    takeValue();
}

Integer TReader::ReadInteger() {
    const FormValue& value = takeValue();
    if (!isIntegerValue(value.Type) || value.Type == vaInt64) invalidValue();
    return static_cast<Integer>(value.Integer);
}

Int64 TReader::ReadInt64() {
    const FormValue& value = takeValue();
    if (!isIntegerValue(value.Type)) invalidValue();
    return value.Integer;
}

bool TReader::ReadBoolean() {
    const FormValue& value = takeValue();
    if (value.Type != vaTrue && value.Type != vaFalse) invalidValue();
    return value.Type == vaTrue;
}

AnsiChar TReader::ReadChar() {
    AnsiString text = ansiText(takeValue());
    if (text.size() != 1) invalidValue();
    return text[0];
}

WideChar TReader::ReadWideChar() {
    WideString text = wideText(takeValue());
    if (text.size() != 1) invalidValue();
    return text[0];
}

double TReader::ReadFloat() {
    const FormValue& value = takeValue();
    if (isFloatValue(value.Type)) return value.Float;
    if (isIntegerValue(value.Type)) return static_cast<double>(value.Integer);
    invalidValue();
}

AnsiString TReader::ReadString() {
    return ansiText(takeValue());
}

WideString TReader::ReadWideString() {
    return wideText(takeValue());
}

AnsiString TReader::ReadIdent() {
    return identText(takeValue());
}

void TReader::ReadListBegin() {
    if (NextValue() != vaList) invalidValue();
    ReadValue();
}

bool TReader::EndOfList() {
    return NextValue() == vaNull;
}

void TReader::ReadListEnd() {
    if (!EndOfList() || state_->frames.size() < 2) invalidValue();
    state_->frames.pop_back();
}

void TReader::ReadCollection(TCollection* Collection) {
    const FormValue* value = state_->enteredCollection;
    state_->enteredCollection = nullptr;
    if (!value) {
        value = &takeValue();
        if (value->Type != vaCollection) invalidValue();
    }
    Collection->BeginUpdate();
    try {
        Collection->Clear();
        for (const FormItem& item : value->Items) {
            TCollectionItem* added = Collection->Add();
            readProperties(added, item.Properties, namePathOf(added));
        }
    } catch (...) {
        Collection->EndUpdate();
        throw;
    }
    Collection->EndUpdate();
}

void TReader::DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc, bool) {
    if (propertyDefined_ || !ReadData || !SameText(Name, propName_)) return;
    propertyDefined_ = true;
    ReadData(this);
}

void TReader::DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc, bool) {
    if (propertyDefined_ || !ReadData || !SameText(Name, propName_)) return;
    propertyDefined_ = true;
    const FormValue& value = takeValue();
    if (value.Type != vaBinary) invalidValue();
    std::unique_ptr<TMemoryStream> stream = streamOf(value.Text);
    ReadData(stream.get());
}

// --- TWriter ----------------------------------------------------------------

struct TWriter::State {
    FormObject top;
    std::vector<FormObject*> objects;
    // Where properties go: the object being written or a collection item.
    std::vector<std::vector<FormProperty>*> propertyTargets;
    // Where values go while a DefineProperty writer runs.
    std::vector<std::vector<FormValue>*> valueSinks;
    // Prefix of the property names of a nested object: "Font.".
    AnsiString prefix;
    TComponent* rootAncestor = nullptr;
};

TWriter::TWriter() : state_(std::make_unique<State>()) {}

TWriter::~TWriter() = default;

void TWriter::WriteRootComponent(TComponent* Root) {
    WriteDescendent(Root, nullptr);
}

void TWriter::WriteDescendent(TComponent* Root, TComponent* Ancestor) {
    root_ = lookupRoot_ = Root;
    state_->rootAncestor = Ancestor;
    WriteComponent(Root);
}

TPersistent* TWriter::ancestorChild(TComponent* Component) const {
    if (Component == root_) return state_->rootAncestor;
    if (!state_->rootAncestor || Component->Name().empty()) return nullptr;
    return state_->rootAncestor->FindComponent(Component->Name());
}

void TWriter::WriteComponent(TComponent* Component) {
    TPersistent* ancestor = ancestorChild(Component);
    FormObject node;
    node.Kind = ancestor ? ObjectKind::Inherited : ObjectKind::Object;
    node.Name = Component->Name();
    node.ClassName = Component->ClassName();
    FormObject* target = nullptr;
    if (state_->objects.empty()) {
        state_->top = std::move(node);
        target = &state_->top;
    } else {
        state_->objects.back()->Children.push_back(std::move(node));
        target = &state_->objects.back()->Children.back();
    }
    TObject* savedAncestor = ancestor_;
    ancestor_ = ancestor;
    state_->objects.push_back(target);
    Component->setState(csWriting, true);
    try {
        Component->WriteState(this);
    } catch (...) {
        Component->setState(csWriting, false);
        throw;
    }
    Component->setState(csWriting, false);
    state_->objects.pop_back();
    ancestor_ = savedAncestor;
    // An inherited component that differs in nothing need not be written.
    bool unchanged =
        target->Kind == ObjectKind::Inherited && target->Properties.empty() && target->Children.empty();
    if (unchanged && !state_->objects.empty()) state_->objects.back()->Children.pop_back();
}

void TWriter::WriteData(TComponent* Instance) {
    state_->propertyTargets.push_back(&state_->objects.back()->Properties);
    AnsiString savedPrefix = std::exchange(state_->prefix, AnsiString());
    writeProperties(Instance);
    state_->prefix = savedPrefix;
    state_->propertyTargets.pop_back();
    Instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
}

AnsiString TWriter::Text() const {
    return PrintFormText(state_->top);
}

void TWriter::writeProperties(TObject* Instance) {
    for (const TPropInfo* property : propertiesOf(Instance))
        if (property->Getter && IsStoredProp(Instance, property)) writeProperty(Instance, property);
    defineObjectProperties(Instance, this);
}

namespace {
// The ancestor's value of the same property, when the ancestor has it.
const TPropInfo* ancestorProperty(TObject* ancestor, const TPropInfo* property) {
    return ancestor && propertyOf(ancestor, property->Name) == property ? property : nullptr;
}

AnsiString referenceName(TComponent* component, TComponent* root) {
    if (!component) return {};
    if (component == root || component->Owner() == root || !component->Owner() ||
        component->Owner()->Name().empty())
        return component->Name();
    return component->Owner()->Name() + "." + component->Name();
}
// Whether two references, each within its own form, name the same component.
bool sameReference(TComponent* component, TComponent* root, TComponent* other, TComponent* otherRoot) {
    if (component == root || other == otherRoot) return component == root && other == otherRoot;
    return SameText(referenceName(component, root), referenceName(other, otherRoot));
}
} // namespace

void TWriter::writeProperty(TObject* Instance, const TPropInfo* Property) {
    const TPropInfo* inAncestor = ancestorProperty(ancestor_, Property);
    switch (Property->PropType->Kind) {
    case tkFloat: {
        double value = GetFloatProp(Instance, Property);
        if (inAncestor ? value == GetFloatProp(ancestor_, inAncestor) : value == 0) return;
        return addProperty(Property->Name, FloatValue(value));
    }
    case tkLString: {
        AnsiString value = GetStrProp(Instance, Property);
        if (inAncestor ? value == GetStrProp(ancestor_, inAncestor) : value.empty()) return;
        return addProperty(Property->Name, StringValue(value));
    }
    case tkWString: {
        WideString value = GetWideStrProp(Instance, Property);
        if (inAncestor ? value == GetWideStrProp(ancestor_, inAncestor) : value.empty()) return;
        return addProperty(Property->Name, WideStringValue(value));
    }
    case tkMethod: {
        const TTypeInfo* type = Property->PropType;
        std::any method = GetMethodProp(Instance, Property);
        AnsiString name = type->MethodAssigned(method)
                              ? ClassTypeOf(lookupRoot_)->MethodName(method, type, lookupRoot_)
                              : "";
        AnsiString ancestorName;
        if (inAncestor && state_->rootAncestor) {
            std::any inherited = GetMethodProp(ancestor_, inAncestor);
            if (type->MethodAssigned(inherited))
                ancestorName =
                    ClassTypeOf(state_->rootAncestor)->MethodName(inherited, type, state_->rootAncestor);
        }
        if (SameText(name, ancestorName)) return;
        return addProperty(Property->Name, name.empty() ? IdentValue("nil") : IdentValue(name));
    }
    case tkClass:
        return writeObject(Instance, Property);
    default:
        return writeOrdinal(Instance, Property);
    }
}

void TWriter::writeOrdinal(TObject* Instance, const TPropInfo* Property) {
    const TPropInfo* inAncestor = ancestorProperty(ancestor_, Property);
    Int64 value = GetOrdProp(Instance, Property);
    if (inAncestor ? value == GetOrdProp(ancestor_, inAncestor)
                   : Property->Default && value == *Property->Default)
        return;
    const TTypeInfo* type = Property->PropType;
    FormValue written;
    switch (type->Kind) {
    case tkChar:
        written = StringValue(AnsiString(1, static_cast<char>(value)));
        break;
    case tkWChar:
        written = WideStringValue(WideString(1, static_cast<WideChar>(value)));
        break;
    case tkEnumeration:
        written = IdentValue(GetEnumName(type, static_cast<Integer>(value)));
        break;
    case tkSet:
        written.Type = vaSet;
        for (std::size_t element = 0; element < type->CompType->EnumNames.size(); ++element)
            if (static_cast<UInt64>(value) & (UInt64{1} << element))
                written.Names.push_back(type->CompType->EnumNames[element]);
        break;
    default: {
        AnsiString ident;
        TIntToIdent intToIdent = FindIntToIdent(type);
        written = intToIdent && intToIdent(static_cast<Integer>(value), ident) ? IdentValue(ident)
                                                                               : IntegerValue(value);
    }
    }
    addProperty(Property->Name, std::move(written));
}

void TWriter::writeObject(TObject* Instance, const TPropInfo* Property) {
    const TPropInfo* inAncestor = ancestorProperty(ancestor_, Property);
    TObject* value = GetObjectProp(Instance, Property);
    TObject* inherited = inAncestor ? GetObjectProp(ancestor_, inAncestor) : nullptr;
    auto* component = dynamic_cast<TComponent*>(value);
    if (component && !component->ComponentStyle().Contains(csSubComponent)) {
        AnsiString name = referenceName(component, lookupRoot_);
        if (inAncestor &&
            sameReference(component, lookupRoot_, dynamic_cast<TComponent*>(inherited), state_->rootAncestor))
            return;
        if (!inAncestor && name.empty()) return;
        return addProperty(Property->Name, name.empty() ? IdentValue("nil") : IdentValue(name));
    }
    if (auto* collection = dynamic_cast<TCollection*>(value)) {
        auto* inheritedCollection = dynamic_cast<TCollection*>(inherited);
        if (inAncestor ? collectionsEqual(collection, inheritedCollection) : collection->Count() == 0) return;
        std::vector<FormValue> values;
        state_->valueSinks.push_back(&values);
        WriteCollection(collection);
        state_->valueSinks.pop_back();
        return addProperty(Property->Name, std::move(values.front()));
    }
    if (!value) return;
    AnsiString savedPrefix = state_->prefix;
    TObject* savedAncestor = ancestor_;
    state_->prefix += Property->Name + ".";
    ancestor_ = inherited;
    writeProperties(value);
    ancestor_ = savedAncestor;
    state_->prefix = savedPrefix;
}

bool TWriter::collectionsEqual(TCollection* A, TCollection* B) {
    if (!A || !B) return A == B;
    if (typeid(*A) != typeid(*B) || A->Count() != B->Count()) return false;
    std::vector<FormValue> values;
    state_->valueSinks.push_back(&values);
    WriteCollection(A);
    WriteCollection(B);
    state_->valueSinks.pop_back();
    return values[0] == values[1];
}

void TWriter::addProperty(const AnsiString& Name, FormValue Value) {
    state_->propertyTargets.back()->push_back(FormProperty{state_->prefix + Name, std::move(Value)});
}

void TWriter::writeValue(FormValue Value) {
    if (state_->valueSinks.empty()) throw EWriteError(SInvalidStream);
    state_->valueSinks.back()->push_back(std::move(Value));
}

void TWriter::WriteInteger(Int64 Value) {
    writeValue(IntegerValue(Value));
}
void TWriter::WriteBoolean(bool Value) {
    writeValue(BooleanValue(Value));
}
void TWriter::WriteChar(AnsiChar Value) {
    writeValue(StringValue(AnsiString(1, Value)));
}
void TWriter::WriteWideChar(WideChar Value) {
    writeValue(WideStringValue(WideString(1, Value)));
}
void TWriter::WriteFloat(double Value) {
    writeValue(FloatValue(Value));
}
void TWriter::WriteString(const AnsiString& Value) {
    writeValue(StringValue(Value));
}
void TWriter::WriteWideString(const WideString& Value) {
    writeValue(WideStringValue(Value));
}
void TWriter::WriteIdent(const AnsiString& Ident) {
    writeValue(IdentValue(Ident));
}

void TWriter::WriteListBegin() {
    FormValue list;
    list.Type = vaList;
    writeValue(std::move(list));
    state_->valueSinks.push_back(&state_->valueSinks.back()->back().List);
}

void TWriter::WriteListEnd() {
    if (state_->valueSinks.size() < 2) throw EWriteError(SInvalidStream);
    state_->valueSinks.pop_back();
}

void TWriter::WriteCollection(TCollection* Value) {
    FormValue collection;
    collection.Type = vaCollection;
    if (Value) {
        AnsiString savedPrefix = std::exchange(state_->prefix, AnsiString());
        TObject* savedAncestor = std::exchange(ancestor_, nullptr);
        for (Integer i = 0; i < Value->Count(); ++i) {
            collection.Items.emplace_back();
            state_->propertyTargets.push_back(&collection.Items.back().Properties);
            writeProperties(Value->Items(i));
            state_->propertyTargets.pop_back();
        }
        ancestor_ = savedAncestor;
        state_->prefix = savedPrefix;
    }
    writeValue(std::move(collection));
}

void TWriter::DefineProperty(const AnsiString& Name, TReaderProc, TWriterProc WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    std::vector<FormValue> values;
    state_->valueSinks.push_back(&values);
    try {
        WriteData(this);
    } catch (...) {
        state_->valueSinks.pop_back();
        throw;
    }
    state_->valueSinks.pop_back();
    if (values.size() > 1) throw EWriteError(SInvalidStream);
    if (!values.empty()) addProperty(Name, std::move(values.front()));
}

void TWriter::DefineBinaryProperty(const AnsiString& Name, TStreamProc, TStreamProc WriteData, bool HasData) {
    if (!HasData || !WriteData) return;
    TMemoryStream stream;
    WriteData(&stream);
    FormValue binary;
    binary.Type = vaBinary;
    binary.Text = bytesOf(stream);
    addProperty(Name, std::move(binary));
}

// --- Whole resources --------------------------------------------------------

TComponent* ReadComponentText(const AnsiString& Text, TComponent* Root) {
    TReader reader(Text);
    return reader.ReadRootComponent(Root);
}

AnsiString WriteComponentText(TComponent* Root) {
    TWriter writer;
    writer.WriteRootComponent(Root);
    return writer.Text();
}

bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor) {
    std::vector<TClass> lineage;
    for (TClass current = ClassTypeOf(Instance); current && current != RootAncestor;
         current = current->ClassParent())
        lineage.push_back(current);
    std::vector<TComponent*> loaded;
    bool found = false;
    for (auto it = lineage.rbegin(); it != lineage.rend(); ++it) {
        const TResourceFile* resource = FindResource((*it)->ClassName(), rkForm);
        if (!resource) continue;
        found = true;
        TReader reader(resource->Text());
        reader.state_->sharedLoaded = &loaded;
        reader.ReadRootComponent(Instance);
    }
    for (TComponent* component : loaded)
        component->Loaded();
    return found;
}
