#pragma once
// Opening a document or a web address the way the desktop opens it when the
// user double-clicks it: with the default handler of its type.
#include <string>

// `target` is a URL ("https://...", anything with "://") or a native (UTF-8)
// file path. false when the desktop has no handler that accepts it. Nothing
// is shown to the user either way.
bool ShellOpen(const std::string& target);
