// The host application's share of the user options: it is one more module
// of the process that shares the options tree, and the one that loads it
// from the settings store.
#pragma once

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <string>

#include "support-proxy/ISettingsNode.h"

struct UsrOpt_Options;
class HostSession;

// The process's options tree, loaded from the settings store. Throws the
// store's ServiceObjectException (or std::runtime_error for the singleton
// storage) when either cannot be used.
UsrOpt_Options& LoadUserOptions();

// The store node that the options tree lives under (as "Options").
boost::shared_ptr<Settings::ISettingsNode> UserSettingsNode();

// The last colour of a markup of `kind` ("highlight", "underline" or
// "strikeout"): the colour a click on the kind's button applies. When the
// options cannot be used, the kind's default.
uint32_t LastMarkupColor(HostSession& session, const std::string& kind);
