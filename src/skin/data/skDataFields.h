#pragma once
// Key tables of the skin descriptions. Each description class lists its own keys once, as
// (key, value form, member, default); reading, writing and the key list all walk that table,
// so they cannot drift apart.

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "skin/data/skIniParser.h"

namespace sk {

// One key as a description reads it, without the class: for key lists and tests.
struct TskKeyInfo {
    std::string Key;
    TskValueForm Form;
    std::string Default;  // in the description's own text form
};

// Where a key's value lives in an object of class C: one of its members, or a member of one
// of its value-type members (the height of its font description, a point of its corner set),
// which a plain member pointer cannot address.
template <class C, class T>
class TskSlot {
public:
    TskSlot(T C::*member)  // implicit: most rows name a plain member
        : get_([member](const C& obj) -> const T& { return obj.*member; }),
          ref_([member](C& obj) -> T& { return obj.*member; }) {}
    template <class V>
    TskSlot(V C::*value, T V::*member)
        : get_([value, member](const C& obj) -> const T& { return (obj.*value).*member; }),
          ref_([value, member](C& obj) -> T& { return (obj.*value).*member; }) {}

    const T& operator()(const C& obj) const { return get_(obj); }
    T& operator()(C& obj) const { return ref_(obj); }

private:
    std::function<const T&(const C&)> get_;
    std::function<T&(C&)> ref_;
};

// The slot of `member` of C's value-type member `value`, for a key table row.
template <class C, class V, class T>
TskSlot<C, T> In(V C::*value, T V::*member) {
    return TskSlot<C, T>(value, member);
}

template <class C>
struct TskField {
    using Member =
        std::variant<TskSlot<C, int>, TskSlot<C, bool>, TskSlot<C, rt::TRect>,
                     TskSlot<C, rt::TPoint>, TskSlot<C, std::string>, TskSlot<C, rt::TFontStyles>,
                     TskSlot<C, TskAlignment>, TskSlot<C, TskInactiveEffect>,
                     TskSlot<C, TskMorphKind>, TskSlot<C, TskStdCommand>>;
    const char* Key;
    TskValueForm Form;
    Member Ptr;
    const char* Default;
};

// Row makers named after the value forms: R rectangle, P point, I integer, C colour, X picture
// index, B boolean, T text, F font style, A alignment, M morph kind, E inactive effect,
// K command word. R, P, I, C_, T and F also take a slot made by In(), for the members of a
// font description or a corner set.
namespace fields {
template <class C>
TskField<C> R(const char* k, TskSlot<C, rt::TRect> m) {
    return {k, TskValueForm::Rect, std::move(m), "0,0,0,0"};
}
template <class C>
TskField<C> R(const char* k, rt::TRect C::*m) {
    return R(k, TskSlot<C, rt::TRect>(m));
}
template <class C>
TskField<C> P(const char* k, TskSlot<C, rt::TPoint> m) {
    return {k, TskValueForm::Point, std::move(m), "0,0"};
}
template <class C>
TskField<C> P(const char* k, rt::TPoint C::*m) {
    return P(k, TskSlot<C, rt::TPoint>(m));
}
template <class C>
TskField<C> I(const char* k, TskSlot<C, int> m, const char* def = "0") {
    return {k, TskValueForm::Integer, std::move(m), def};
}
template <class C>
TskField<C> I(const char* k, int C::*m, const char* def = "0") {
    return I(k, TskSlot<C, int>(m), def);
}
template <class C>
TskField<C> C_(const char* k, TskSlot<C, int> m, const char* def = "0") {
    return {k, TskValueForm::Color, std::move(m), def};
}
template <class C>
TskField<C> C_(const char* k, int C::*m, const char* def = "0") {
    return C_(k, TskSlot<C, int>(m), def);
}
template <class C>
TskField<C> X(const char* k, int C::*m) {
    return {k, TskValueForm::PictureIndex, m, "-1"};
}
template <class C>
TskField<C> B(const char* k, bool C::*m) {
    return {k, TskValueForm::Boolean, m, "0"};
}
template <class C>
TskField<C> T(const char* k, TskSlot<C, std::string> m, const char* def = "") {
    return {k, TskValueForm::Text, std::move(m), def};
}
template <class C>
TskField<C> T(const char* k, std::string C::*m, const char* def = "") {
    return T(k, TskSlot<C, std::string>(m), def);
}
template <class C>
TskField<C> F(const char* k, TskSlot<C, rt::TFontStyles> m) {
    return {k, TskValueForm::FontStyle, std::move(m), ""};
}
template <class C>
TskField<C> F(const char* k, rt::TFontStyles C::*m) {
    return F(k, TskSlot<C, rt::TFontStyles>(m));
}
template <class C>
TskField<C> A(const char* k, TskAlignment C::*m) {
    return {k, TskValueForm::Alignment, m, "tacenter"};
}
template <class C>
TskField<C> M(const char* k, TskMorphKind C::*m) {
    return {k, TskValueForm::MorphKind, m, "mkdefault"};
}
template <class C>
TskField<C> E(const char* k, TskInactiveEffect C::*m) {
    return {k, TskValueForm::InactiveEffect, m, "iebrightness"};
}
template <class C>
TskField<C> K(const char* k, TskStdCommand C::*m) {
    return {k, TskValueForm::Command, m, "cmdefault"};
}
}  // namespace fields

// Converts one value text (or the field's default when the key is missing) into the member.
template <class C>
void ReadField(const TskIniFile& ini, TskIniFile::SectionHandle section, const TskField<C>& f,
               C& obj) {
    const std::string* v = ini.FindValueIn(section, f.Key);
    switch (f.Form) {
        case TskValueForm::Integer:
        case TskValueForm::PictureIndex:
        case TskValueForm::Color: {
            int def = StrToIntDef(f.Default, 0);
            std::get<TskSlot<C, int>>(f.Ptr)(obj) = v != nullptr ? StrToIntDef(*v, def) : def;
            break;
        }
        case TskValueForm::Boolean: {
            int i = 0;
            std::get<TskSlot<C, bool>>(f.Ptr)(obj) =
                v != nullptr && TryStrToInt(*v, i) ? i == 1 : StrToIntDef(f.Default, 0) == 1;
            break;
        }
        case TskValueForm::Point:
            std::get<TskSlot<C, rt::TPoint>>(f.Ptr)(obj) =
                StrToPoint(v != nullptr && !v->empty() ? *v : std::string(f.Default));
            break;
        case TskValueForm::Rect:
            std::get<TskSlot<C, rt::TRect>>(f.Ptr)(obj) =
                StrToRect(v != nullptr && !v->empty() ? *v : std::string(f.Default));
            break;
        case TskValueForm::Text:
            std::get<TskSlot<C, std::string>>(f.Ptr)(obj) =
                v != nullptr ? *v : std::string(f.Default);
            break;
        case TskValueForm::FontStyle:
            std::get<TskSlot<C, rt::TFontStyles>>(f.Ptr)(obj) =
                StrToFontStyle(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::Alignment:
            std::get<TskSlot<C, TskAlignment>>(f.Ptr)(obj) =
                StrToAlignment(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::InactiveEffect:
            std::get<TskSlot<C, TskInactiveEffect>>(f.Ptr)(obj) =
                StrToInactiveEffect(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::MorphKind:
            std::get<TskSlot<C, TskMorphKind>>(f.Ptr)(obj) =
                StrToMorphKind(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::Command:
            std::get<TskSlot<C, TskStdCommand>>(f.Ptr)(obj) =
                StrToCommand(v != nullptr ? *v : std::string(f.Default));
            break;
    }
}

template <class C>
std::string FieldText(const TskField<C>& f, const C& obj) {
    switch (f.Form) {
        case TskValueForm::Integer:
        case TskValueForm::PictureIndex:
        case TskValueForm::Color:
            return std::to_string(std::get<TskSlot<C, int>>(f.Ptr)(obj));
        case TskValueForm::Boolean:
            return std::get<TskSlot<C, bool>>(f.Ptr)(obj) ? "1" : "0";
        case TskValueForm::Point:
            return PointToStr(std::get<TskSlot<C, rt::TPoint>>(f.Ptr)(obj));
        case TskValueForm::Rect:
            return RectToStr(std::get<TskSlot<C, rt::TRect>>(f.Ptr)(obj));
        case TskValueForm::Text:
            return std::get<TskSlot<C, std::string>>(f.Ptr)(obj);
        case TskValueForm::FontStyle:
            return FontStyleToStr(std::get<TskSlot<C, rt::TFontStyles>>(f.Ptr)(obj));
        case TskValueForm::Alignment:
            return AlignmentToStr(std::get<TskSlot<C, TskAlignment>>(f.Ptr)(obj));
        case TskValueForm::InactiveEffect:
            return InactiveEffectToStr(std::get<TskSlot<C, TskInactiveEffect>>(f.Ptr)(obj));
        case TskValueForm::MorphKind:
            return MorphKindToStr(std::get<TskSlot<C, TskMorphKind>>(f.Ptr)(obj));
        case TskValueForm::Command:
            return CommandToStr(std::get<TskSlot<C, TskStdCommand>>(f.Ptr)(obj));
    }
    return {};
}

template <class C>
void LoadFields(const TskIniFile& ini, const std::string& section,
                std::span<const TskField<C>> table, C& obj) {
    TskIniFile::SectionHandle handle = ini.FindSection(section);
    for (const TskField<C>& f : table) ReadField(ini, handle, f, obj);
}

template <class C>
void SaveFields(TskIniFile& ini, const std::string& section, std::span<const TskField<C>> table,
                const C& obj) {
    for (const TskField<C>& f : table) ini.WriteString(section, f.Key, FieldText(f, obj));
}

template <class C>
void AppendFieldKeys(std::vector<TskKeyInfo>& keys, std::span<const TskField<C>> table) {
    for (const TskField<C>& f : table) keys.push_back(TskKeyInfo{f.Key, f.Form, f.Default});
}

// The root of a description family: a named section whose keys Self's table lists. Self
// provides `static std::span<const TskField<Self>> Fields()`.
template <class Self>
class TskDescriptionRoot {
public:
    explicit TskDescriptionRoot(std::string name) : IDName(std::move(name)) {}
    virtual ~TskDescriptionRoot() = default;
    TskDescriptionRoot(const TskDescriptionRoot&) = delete;
    TskDescriptionRoot& operator=(const TskDescriptionRoot&) = delete;

    std::string IDName;

    // Reads the keys of the section IDName.
    virtual void LoadFromIni(const TskIniFile& ini) {
        LoadFields<Self>(ini, IDName, Self::Fields(), static_cast<Self&>(*this));
    }
    // Erases the section IDName and writes every key LoadFromIni reads, in the same order.
    virtual void SaveToIni(TskIniFile& ini) const {
        ini.EraseSection(IDName);
        SaveFields<Self>(ini, IDName, Self::Fields(), static_cast<const Self&>(*this));
    }
    virtual void AppendKeys(std::vector<TskKeyInfo>& keys) const {
        AppendFieldKeys<Self>(keys, Self::Fields());
    }
    // Every key the class reads, in reading order.
    std::vector<TskKeyInfo> Keys() const {
        std::vector<TskKeyInfo> keys;
        AppendKeys(keys);
        return keys;
    }
};

// A description class that adds its own keys after those of Base: Self provides
// `static std::span<const TskField<Self>> Fields()`.
template <class Self, class Base>
class TskDescribed : public Base {
public:
    using Base::Base;

    void LoadFromIni(const TskIniFile& ini) override {
        Base::LoadFromIni(ini);
        LoadFields<Self>(ini, this->IDName, Self::Fields(), static_cast<Self&>(*this));
    }
    void SaveToIni(TskIniFile& ini) const override {
        Base::SaveToIni(ini);
        SaveFields<Self>(ini, this->IDName, Self::Fields(), static_cast<const Self&>(*this));
    }
    void AppendKeys(std::vector<TskKeyInfo>& keys) const override {
        Base::AppendKeys(keys);
        AppendFieldKeys<Self>(keys, Self::Fields());
    }
};

}  // namespace sk
