#pragma once
// Where the program finds the files it ships with (init.ini, noframe.jpg, Help/) and where it
// keeps the files it writes (the settings and the two previews).
//
// A run from the build tree or an unpacked folder has its files beside the program file. An
// installed program (<prefix>/bin/framora) finds them in <prefix>/share/framora; an installed
// program never writes beside itself, and keeps its settings and previews in the user's data
// folder, as it also does when the program folder cannot be written.

#include <string>

namespace app {

// The shipped files' folder for a program folder (both with their trailing separator): the
// program folder itself when the files are there, else the installed data folder next to it
// when that exists, else the program folder (each file then falls back to its default).
std::string ShippedFilesDir(const std::string& appDir);

// The folder the program writes into: the program folder when the shipped files lie beside
// it and it can be written, else the user's data folder (made when missing).
std::string WritableDataDir(const std::string& appDir, const std::string& filesDir);

}  // namespace app
