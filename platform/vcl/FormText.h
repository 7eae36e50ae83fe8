// The framework's text form format as a tree: objects with their properties
// and nested objects, and the values properties hold. Parsing checks the
// syntax; printing gives the one canonical text of a tree.
#pragma once

#include "platform/core/Exceptions.h"

#include <optional>
#include <vector>

class EParserError : public Exception {
public:
    using Exception::Exception;
};

// The kinds of value a form resource holds; vaNull ends a list.
enum TValueType {
    vaNull,
    vaList,
    vaInt8,
    vaInt16,
    vaInt32,
    vaExtended,
    vaString,
    vaIdent,
    vaFalse,
    vaTrue,
    vaBinary,
    vaSet,
    vaLString,
    vaNil,
    vaCollection,
    vaSingle,
    vaCurrency,
    vaDate,
    vaWString,
    vaInt64,
    vaUTF8String
};

namespace formtext {

struct FormItem;

struct FormValue {
    TValueType Type = vaNull;
    Int64 Integer = 0;
    double Float = 0;
    // vaString, vaLString, vaUTF8String, vaIdent: the text; vaBinary: the bytes.
    AnsiString Text;
    // vaWString.
    WideString Wide;
    // vaSet: the element identifiers.
    std::vector<AnsiString> Names;
    // vaList.
    std::vector<FormValue> List;
    // vaCollection.
    std::vector<FormItem> Items;
    friend bool operator==(const FormValue&, const FormValue&) = default;
};

struct FormProperty {
    AnsiString Name; // may be a path: "Font.Name"
    FormValue Value;
    friend bool operator==(const FormProperty&, const FormProperty&) = default;
};

struct FormItem {
    std::vector<FormProperty> Properties;
    friend bool operator==(const FormItem&, const FormItem&) = default;
};

enum class ObjectKind { Object, Inherited, Inline };

struct FormObject {
    ObjectKind Kind = ObjectKind::Object;
    AnsiString Name;
    AnsiString ClassName;
    // "[n]" after the class: the position of an inherited component.
    std::optional<Integer> Position;
    std::vector<FormProperty> Properties;
    std::vector<FormObject> Children;
};

// Raises EParserError ("... on line N") at the first syntax error.
FormObject ParseFormText(const AnsiString& Text);
AnsiString PrintFormText(const FormObject& Object);
// The class of the top object, without parsing the rest; empty when the text
// does not start like a form resource.
AnsiString TopClassName(const AnsiString& Text);

// Values as the writer makes them: the smallest integer kind, vaString or
// vaLString by length, vaTrue/vaFalse.
FormValue IntegerValue(Int64 Value);
FormValue FloatValue(double Value);
FormValue StringValue(const AnsiString& Value);
FormValue WideStringValue(const WideString& Value);
FormValue IdentValue(const AnsiString& Ident);
FormValue BooleanValue(bool Value);

} // namespace formtext
