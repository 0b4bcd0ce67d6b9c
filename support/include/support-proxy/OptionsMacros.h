// The macros that turn the option schema into the classes of the options
// tree.
//
// The schema lists each group's members once, in declaration order, as a
// macro taking two macro names:
//
//   #define USROPT_MEMBERS_Fonts(GROUP, VALUE)
//       GROUP(Default, "Default", Fonts_Default)
//       VALUE(int, SizeMin, "Size Min", 6)
//
//   GROUP(Id, "key", Members)      a nested group of class UsrOptGroup_Id, held
//                                  as member Id, stored under "key", whose own
//                                  members are USROPT_MEMBERS_Members
//   VALUE(T, Id, "key", default)   a value of type T and class UsrOptValue_Id,
//                                  held as member Id, stored as "key"
//
// Each group class expands its list three times: to declare its members, to
// bind them in BuildChildren, and to make its table of children. A group's
// nested groups are declared by the macro of the next depth, since a macro
// cannot expand itself; the schema is three groups deep below the root.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "support-proxy/BaseUserSettingRoot.h"
#include "support-proxy/BaseUserSettingValue.h"
#include "support-proxy/IUserSettingGroup.h"

#define USROPT_VALUE(T, id, key, defaultConstant)                                                  \
    struct UsrOptValue_##id final : usropts::BaseUserSettingValue<T> {                             \
        static constexpr usropts::DefaultOf<T> defaultValue =                                      \
            static_cast<usropts::DefaultOf<T>>(defaultConstant);                                   \
        UsrOptValue_##id() : BaseUserSettingValue(defaultValue) {}                                 \
        const wchar_t* GetName() const override { return L##key; }                                 \
        bool IsDefault() const override { return IsDefaultImpl(defaultValue); }                    \
        void ResetToDefault() override { ResetToDefaultImpl(defaultValue); }                       \
    } id;

// What every group class and the root have besides their members.
#define USROPT_GROUP_BODY(members)                                                                 \
    void BuildChildren() {                                                                         \
        AttachChildren(ChildAccessors());                                                          \
        USROPT_MEMBERS_##members(USROPT_BIND_GROUP, USROPT_BIND_VALUE)                             \
    }                                                                                              \
    static const usropts::ChildAccessor* ChildAccessors() {                                        \
        static constexpr usropts::ChildAccessor kAccessors[] = {                                   \
            USROPT_MEMBERS_##members(USROPT_ACCESS_GROUP, USROPT_ACCESS_VALUE)};                   \
        return kAccessors;                                                                         \
    }                                                                                              \
    /* Calls visit(value) for every value below, in declaration order. */                          \
    template <class Visitor> void ForEachValue(Visitor&& visit) {                                  \
        USROPT_MEMBERS_##members(USROPT_VISIT_GROUP, USROPT_VISIT_VALUE)                           \
    }

#define USROPT_BIND_GROUP(id, key, members) BindGroup(id);
#define USROPT_BIND_VALUE(T, id, key, defaultConstant) BindValue(id);
#define USROPT_ACCESS_GROUP(id, key, members)                                                      \
    &usropts::AccessChild<Self, UsrOptGroup_##id, &Self::id>,
#define USROPT_ACCESS_VALUE(T, id, key, defaultConstant)                                           \
    &usropts::AccessChild<Self, UsrOptValue_##id, &Self::id>,
#define USROPT_VISIT_GROUP(id, key, members) id.ForEachValue(visit);
#define USROPT_VISIT_VALUE(T, id, key, defaultConstant) visit(id);

// The layout shows what each macro expands to.
// clang-format off
#define USROPT_GROUP_OPEN(id, key)                                                                 \
    struct UsrOptGroup_##id final : usropts::IUserSettingGroup {                                   \
        using Self = UsrOptGroup_##id;                                                             \
        const wchar_t* GetName() const override { return L##key; }

#define USROPT_GROUP_CLOSE(id, members)                                                            \
        USROPT_GROUP_BODY(members)                                                                 \
    } id;

#define USROPT_GROUP_1(id, key, members)                                                           \
    USROPT_GROUP_OPEN(id, key)                                                                     \
        USROPT_MEMBERS_##members(USROPT_GROUP_2, USROPT_VALUE)                                     \
    USROPT_GROUP_CLOSE(id, members)
#define USROPT_GROUP_2(id, key, members)                                                           \
    USROPT_GROUP_OPEN(id, key)                                                                     \
        USROPT_MEMBERS_##members(USROPT_GROUP_3, USROPT_VALUE)                                     \
    USROPT_GROUP_CLOSE(id, members)
#define USROPT_GROUP_3(id, key, members)                                                           \
    USROPT_GROUP_OPEN(id, key)                                                                     \
        USROPT_MEMBERS_##members(USROPT_NO_DEEPER_GROUP, USROPT_VALUE)                             \
    USROPT_GROUP_CLOSE(id, members)
#define USROPT_NO_DEEPER_GROUP(id, key, members)                                                   \
    static_assert(false, "the options tree is three groups deep below its root");
#define USROPT_NO_ROOT_VALUE(T, id, key, defaultConstant)                                          \
    static_assert(false, "the root of the options tree holds groups only");

// The root class: the top groups, and the building of the whole tree.
#define USROPT_ROOT(rootClass, key, members)                                                       \
    struct rootClass final : usropts::BaseUserSettingRoot {                                        \
        using Self = rootClass;                                                                    \
        USROPT_MEMBERS_##members(USROPT_GROUP_1, USROPT_NO_ROOT_VALUE)                             \
        const wchar_t* GetName() const override { return L##key; }                                 \
        /* Binds every node of the tree below the two sources (either may be                       \
           empty), under the tree's lock. Nothing is read from the store. */                       \
        void Build(const usropts::UserSettingNodePtr& storeSource,                                 \
                   const usropts::UserSettingNodePtr& defaultsSource) {                            \
            usropts::TreeLock lock(&treeMutex);                                                    \
            InitSetting(nullptr, &treeMutex, storeSource, defaultsSource);                         \
            BuildChildren();                                                                       \
        }                                                                                          \
        USROPT_GROUP_BODY(members)                                                                 \
    };
// clang-format on
