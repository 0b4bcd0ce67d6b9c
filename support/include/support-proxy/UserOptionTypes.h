// The types that option values have, and how each is stored: integers,
// enumerations and the recent-view word as 32-bit integers, the others as
// themselves.
#pragma once

#include <cstdint>
#include <string>

namespace Measurement {
enum Enum : int { Points = 0, Inches = 1, Millimeters = 2, Centimeters = 3, Picas = 4 };
} // namespace Measurement

namespace PageSize {
enum PageSizeNameId : int { Letter = 0, Legal = 1, A3 = 2, A4 = 3, A5 = 4, Custom = 5 };
} // namespace PageSize

namespace UsersPreferences {

enum RecognizeEngine : int { NoEngine = 0, TesseractEngine = 1 };
enum RecognizePDFType : int { TextOnly = 0, ImageOnly = 1, TextUnderImage = 2 };
enum PageViewState : int { SinglePage = 0, TwoPages = 1, TwoPagesWithCover = 2 };
enum DocumentViewState : int { SingleView = 0, ContinuousView = 1, ContinuousFacingView = 2 };

// How the recent documents are shown: one stored word, or its two halves.
union RecentView {
    struct Parts {
        uint16_t layout;
        uint16_t order;
    };
    int32_t word;
    Parts parts;

    constexpr RecentView(int32_t stored = 0) : word(stored) {}
};

constexpr bool operator==(const RecentView& a, const RecentView& b) {
    return a.word == b.word;
}
constexpr bool operator!=(const RecentView& a, const RecentView& b) {
    return !(a == b);
}

} // namespace UsersPreferences

namespace usropts {

// What the option tree knows of each value type T:
//   Stored     the type U whose node operations store it
//   kKind      the word the options command shows for it
//   kTypeName  its name as the compiler of the shared layout spells it
template <class T> struct OptionType;

#define USROPT_OPTION_TYPE(T, U, kind, typeName)                                                   \
    template <> struct OptionType<T> {                                                             \
        using Stored = U;                                                                          \
        static constexpr const char* kKind = kind;                                                 \
        static constexpr const char* kTypeName = typeName;                                         \
    };

USROPT_OPTION_TYPE(int, int, "int", "int")
USROPT_OPTION_TYPE(unsigned, int, "unsigned", "unsigned int")
USROPT_OPTION_TYPE(bool, bool, "bool", "bool")
USROPT_OPTION_TYPE(float, float, "float", "float")
USROPT_OPTION_TYPE(std::int64_t, std::int64_t, "time", "__int64")
USROPT_OPTION_TYPE(std::wstring, std::wstring, "string",
                   "class std::basic_string<wchar_t,struct std::char_traits<wchar_t>,"
                   "class std::allocator<wchar_t> >")
USROPT_OPTION_TYPE(Measurement::Enum, int, "enum", "enum Measurement::Enum")
USROPT_OPTION_TYPE(PageSize::PageSizeNameId, int, "enum", "enum PageSize::PageSizeNameId")
USROPT_OPTION_TYPE(UsersPreferences::RecognizeEngine, int, "enum",
                   "enum UsersPreferences::RecognizeEngine")
USROPT_OPTION_TYPE(UsersPreferences::RecognizePDFType, int, "enum",
                   "enum UsersPreferences::RecognizePDFType")
USROPT_OPTION_TYPE(UsersPreferences::PageViewState, int, "enum",
                   "enum UsersPreferences::PageViewState")
USROPT_OPTION_TYPE(UsersPreferences::DocumentViewState, int, "enum",
                   "enum UsersPreferences::DocumentViewState")
USROPT_OPTION_TYPE(UsersPreferences::RecentView, int, "enum", "union UsersPreferences::RecentView")

#undef USROPT_OPTION_TYPE

template <class T> using StoredAs = typename OptionType<T>::Stored;

// A compiled-in default: a constant of the value's type, or the text of a
// string value.
template <class T> struct DefaultConstant { using Type = T; };
template <> struct DefaultConstant<std::wstring> { using Type = const wchar_t*; };
template <class T> using DefaultOf = typename DefaultConstant<T>::Type;

// Between a value and what stores it: the same bits for unsigned and the
// enumerations.
template <class T> StoredAs<T> ToStored(const T& value) {
    return static_cast<StoredAs<T>>(value);
}
inline int ToStored(const UsersPreferences::RecentView& value) {
    return value.word;
}
template <class T> T FromStored(const StoredAs<T>& stored) {
    return static_cast<T>(stored);
}

} // namespace usropts
