// The program's name and version, which its window titles, message titles and report headings carry
// ("KALVOR 952 Uyarlama 3.0 BETA"): a new version is written here once. Literals, so that each text that
// names the program stays one literal, joined by the compiler where it is shown (" " KV_PROGRAM_TITLE
// " SERVİS"_w), in tables of literals too, and reads byte for byte as the program has always shown it.
#pragma once

#define KV_PROGRAM_NAME "KALVOR 952 Uyarlama"
#define KV_PROGRAM_VERSION "3.0"
// The release the help and the start-up dialog tell: the version and its patch level.
#define KV_PROGRAM_RELEASE KV_PROGRAM_VERSION ".3"
// What the titles begin with: "KALVOR 952 Uyarlama 3.0".
#define KV_PROGRAM_TITLE KV_PROGRAM_NAME " " KV_PROGRAM_VERSION
