#pragma once
// Each subcommand of framora-bench; argv[0] is the subcommand name.
int RunProbe(int argc, char** argv);
int RunGrab(int argc, char** argv);
int RunCut(int argc, char** argv);
