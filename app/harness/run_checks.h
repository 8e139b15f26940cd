#pragma once
// What a scripted run needs before the screen starts, checked before anything happens:
// a sale must never be confirmed, and its number used, only to fail afterwards for want
// of a folder, a store or a place to put the result.
#include <string>

namespace recebimento::harness {

// InputError naming the option and what is wrong.
// The host folder exists and is a folder.
void CheckHostFolder(const std::string& host_dir);
// A file can be created in the output's folder (removing what an interrupted write of it
// left there).
void CheckOutputWritable(const std::string& out_path);
// The store opens as a sale opens it: a known kind of connection, an existing SQLite
// file, the schema in place. The message names what is missing and the command that
// creates it.
void CheckStoreReady(const std::string& connection);

}  // namespace recebimento::harness
