// The common part of every value of the options tree: its cached value, the
// typed access that callers use, and the storage of the value through the
// node operations of its store type.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "service-common/ServiceObjectException.h"
#include "support-proxy/IUserSetting.h"
#include "support-proxy/OptionChangeTracking.h"
#include "support-proxy/UserOptionTypes.h"

namespace usropts {

// The node operations that store values of type U.
template <class U> struct NodeAccess;

template <> struct NodeAccess<int> {
    static int Read(IUserSettingNode& node, const wchar_t* key) { return node.GetInt(key); }
    static void Write(IUserSettingNode& node, const wchar_t* key, int v) { node.SetInt(key, v); }
};
template <> struct NodeAccess<bool> {
    static bool Read(IUserSettingNode& node, const wchar_t* key) { return node.GetBool(key); }
    static void Write(IUserSettingNode& node, const wchar_t* key, bool v) { node.SetBool(key, v); }
};
template <> struct NodeAccess<float> {
    static float Read(IUserSettingNode& node, const wchar_t* key) { return node.GetFloat(key); }
    static void Write(IUserSettingNode& node, const wchar_t* key, float v) {
        node.SetFloat(key, v);
    }
};
template <> struct NodeAccess<std::int64_t> {
    static std::int64_t Read(IUserSettingNode& node, const wchar_t* key) {
        return node.GetTime(key);
    }
    static void Write(IUserSettingNode& node, const wchar_t* key, std::int64_t v) {
        node.SetTime(key, v);
    }
};
template <> struct NodeAccess<std::wstring> {
    static std::wstring Read(IUserSettingNode& node, const wchar_t* key) {
        return node.GetString(key);
    }
    static void Write(IUserSettingNode& node, const wchar_t* key, const std::wstring& v) {
        node.SetString(key, v);
    }
};

template <class T, class U = StoredAs<T>> class BaseUserSettingValue : public IUserSettingValue {
public:
    using ValueType = T;

    // A locked copy of the cached value; the store is not asked.
    T Get() const {
        TreeLock lock(mutex);
        return value;
    }

    // Caches the value, reporting it first when it differs, then writes it
    // to the store whether it differs or not. A failing write leaves the new
    // value cached and throws.
    void Set(const T& newValue) {
        {
            TreeLock lock(mutex);
            if (!(newValue == value)) {
                _TrackOptionChange(newValue);
                value = newValue;
            }
        }
        Save(UserSettingNodePtr());
    }

    void Load(const UserSettingNodePtr& node) override {
        const wchar_t* key = GetName();
        const UserSettingNodePtr& source = node ? node : storeNode;
        if (!key || !*key || !source)
            return;
        TreeLock lock(mutex);
        if (!source->HasValue(key))
            return;
        try {
            value = Read(*source, key);
        } catch (const ServiceObjectException&) {
            // An unreadable value keeps what the cache holds.
        }
    }

    void Save(const UserSettingNodePtr& node) override {
        const wchar_t* key = GetName();
        const UserSettingNodePtr& target = node ? node : storeNode;
        if (!key || !*key || !target)
            return;
        TreeLock lock(mutex);
        NodeAccess<U>::Write(*target, key, ToStored(value));
    }

    bool EqualsStored(const UserSettingNodePtr& node) const override {
        if (!node)
            return false;
        TreeLock lock(mutex);
        return Read(*node, GetName()) == value;
    }

protected:
    explicit BaseUserSettingValue(const T& initial) : value(initial) {}

    // For the generated classes, which pass their compiled-in default.
    bool IsDefaultImpl(const T& defaultValue) const {
        TreeLock lock(mutex);
        if (defaultsNode) {
            try {
                return Read(*defaultsNode, GetName()) == value;
            } catch (const ServiceObjectException&) {
            }
        }
        return defaultValue == value;
    }
    void ResetToDefaultImpl(const T& defaultValue) {
        TreeLock lock(mutex);
        if (defaultsNode) {
            try {
                value = Read(*defaultsNode, GetName());
                return;
            } catch (const ServiceObjectException&) {
            }
        }
        value = defaultValue;
    }

    // Runs with the tree locked, while `value` still holds the old value.
    void _TrackOptionChange(const T& newValue) const {
        TrackOptionChange(
            *this,
            [&](bool colour) {
                return std::make_pair(TrackingText(value, colour), TrackingText(newValue, colour));
            },
            OptionType<T>::kTypeName, OptionType<U>::kTypeName);
    }

    T value;

private:
    static T Read(IUserSettingNode& node, const wchar_t* key) {
        return FromStored<T>(NodeAccess<U>::Read(node, key));
    }
};

} // namespace usropts
