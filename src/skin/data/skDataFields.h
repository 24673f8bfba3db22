#pragma once
// Key tables of the skin descriptions. Each description class lists its own keys once, as
// (key, value form, member, default); reading, writing and the key list all walk that table,
// so they cannot drift apart.

#include <span>
#include <string>
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

template <class C>
struct TskField {
    using Member = std::variant<int C::*, bool C::*, rt::TRect C::*, rt::TPoint C::*,
                                std::string C::*, rt::TFontStyles C::*, TskAlignment C::*,
                                TskInactiveEffect C::*, TskMorphKind C::*, TskStdCommand C::*>;
    const char* Key;
    TskValueForm Form;
    Member Ptr;
    const char* Default;
};

// Row makers named after the value forms: R rectangle, P point, I integer, C colour, X picture
// index, B boolean, T text, F font style, A alignment, M morph kind, E inactive effect,
// K command word.
namespace fields {
template <class C>
TskField<C> R(const char* k, rt::TRect C::*m) {
    return {k, TskValueForm::Rect, m, "0,0,0,0"};
}
template <class C>
TskField<C> P(const char* k, rt::TPoint C::*m) {
    return {k, TskValueForm::Point, m, "0,0"};
}
template <class C>
TskField<C> I(const char* k, int C::*m, const char* def = "0") {
    return {k, TskValueForm::Integer, m, def};
}
template <class C>
TskField<C> C_(const char* k, int C::*m, const char* def = "0") {
    return {k, TskValueForm::Color, m, def};
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
TskField<C> T(const char* k, std::string C::*m, const char* def = "") {
    return {k, TskValueForm::Text, m, def};
}
template <class C>
TskField<C> F(const char* k, rt::TFontStyles C::*m) {
    return {k, TskValueForm::FontStyle, m, ""};
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
            obj.*std::get<int C::*>(f.Ptr) = v != nullptr ? StrToIntDef(*v, def) : def;
            break;
        }
        case TskValueForm::Boolean: {
            int i = 0;
            obj.*std::get<bool C::*>(f.Ptr) =
                v != nullptr && TryStrToInt(*v, i) ? i == 1 : StrToIntDef(f.Default, 0) == 1;
            break;
        }
        case TskValueForm::Point:
            obj.*std::get<rt::TPoint C::*>(f.Ptr) =
                StrToPoint(v != nullptr && !v->empty() ? *v : std::string(f.Default));
            break;
        case TskValueForm::Rect:
            obj.*std::get<rt::TRect C::*>(f.Ptr) =
                StrToRect(v != nullptr && !v->empty() ? *v : std::string(f.Default));
            break;
        case TskValueForm::Text:
            obj.*std::get<std::string C::*>(f.Ptr) = v != nullptr ? *v : std::string(f.Default);
            break;
        case TskValueForm::FontStyle:
            obj.*std::get<rt::TFontStyles C::*>(f.Ptr) =
                StrToFontStyle(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::Alignment:
            obj.*std::get<TskAlignment C::*>(f.Ptr) =
                StrToAlignment(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::InactiveEffect:
            obj.*std::get<TskInactiveEffect C::*>(f.Ptr) =
                StrToInactiveEffect(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::MorphKind:
            obj.*std::get<TskMorphKind C::*>(f.Ptr) =
                StrToMorphKind(v != nullptr ? *v : std::string(f.Default));
            break;
        case TskValueForm::Command:
            obj.*std::get<TskStdCommand C::*>(f.Ptr) =
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
            return std::to_string(obj.*std::get<int C::*>(f.Ptr));
        case TskValueForm::Boolean:
            return obj.*std::get<bool C::*>(f.Ptr) ? "1" : "0";
        case TskValueForm::Point:
            return PointToStr(obj.*std::get<rt::TPoint C::*>(f.Ptr));
        case TskValueForm::Rect:
            return RectToStr(obj.*std::get<rt::TRect C::*>(f.Ptr));
        case TskValueForm::Text:
            return obj.*std::get<std::string C::*>(f.Ptr);
        case TskValueForm::FontStyle:
            return FontStyleToStr(obj.*std::get<rt::TFontStyles C::*>(f.Ptr));
        case TskValueForm::Alignment:
            return AlignmentToStr(obj.*std::get<TskAlignment C::*>(f.Ptr));
        case TskValueForm::InactiveEffect:
            return InactiveEffectToStr(obj.*std::get<TskInactiveEffect C::*>(f.Ptr));
        case TskValueForm::MorphKind:
            return MorphKindToStr(obj.*std::get<TskMorphKind C::*>(f.Ptr));
        case TskValueForm::Command:
            return CommandToStr(obj.*std::get<TskStdCommand C::*>(f.Ptr));
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
