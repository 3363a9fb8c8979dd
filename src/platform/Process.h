#pragma once

#include <string>
#include <vector>

// Runs the program `arguments[0]` (a path, relative to `folder` when it is
// not absolute) with the arguments after it, no shell in between, in
// `folder`, with the variables of `environment` ("NAME=value") set on top of
// this program's, and its error output written to the file `errors`. Waits
// until it ends; returns its exit status, or -1 when it could not be started
// or did not exit by itself.
int runProgram(const std::vector<std::string>& arguments, const std::string& folder,
               const std::vector<std::string>& environment, const std::string& errors);
