#include "ezu/io/file_entry.h"

#include "ezu/core/encoding.h"
#include "ezu/io/ezupath.h"
#include "ezu/settings/settings.h"

#include <string.h>

namespace {

// The path is UTF-8, as makePath reads it, so that every character of a
// name reaches the system and the settings key.
TStr utf8Path(const char* path) {
    return path ? TStr(path, int(strlen(path)), ENC_UTF8) : TStr();
}

} // namespace

TEzuFile::TEzuFile(const char* path, int number, bool enabled)
    : path_(utf8Path(path)), number_(number), comment_(""), enabled_(enabled), markA_(false), markB_(false),
      extraText_("") {}

// A copy names the same file with the same stored state; the application's
// marker A and its text start afresh.
TEzuFile::TEzuFile(const TEzuFile& other)
    : path_(other.path_), number_(other.number_), comment_(other.comment_),
      enabled_(other.enabled_), markA_(false), markB_(other.markB_), extraText_("") {}

TEzuFile& TEzuFile::operator=(const TEzuFile& other) {
    if (this != &other) {
        path_ = other.path_;
        number_ = other.number_;
        comment_ = other.comment_;
        enabled_ = other.enabled_;
    }
    return *this;
}

TEzuFile::~TEzuFile() {}

TStr TEzuFile::itemText() const {
    return extraText_;
}

bool TEzuFile::queryA() const {
    return false;
}

bool TEzuFile::queryB() const {
    return false;
}

TEzuFile& TEzuFile::setNumber(int number) {
    number_ = number;
    return *this;
}

TEzuFile& TEzuFile::setMarkA(bool mark) {
    markA_ = mark;
    return *this;
}

TEzuFile& TEzuFile::setMarkB(bool mark) {
    markB_ = mark;
    return *this;
}

void TEzuFile::setExtraText(const TStr& text) {
    extraText_ = text;
}

void TEzuFile::setPath(const TStr& path) {
    path_ = path;
    refresh();
}

void TEzuFile::setComment(const TStr& comment) {
    comment_ = comment;
    ezuSetString(settingsKey() + "_comment", comment_, true);
}

void TEzuFile::setEnabled(bool enabled) {
    enabled_ = enabled;
    ezuSetInt(settingsKey() + "_disable", enabled ? 0 : 1, true);
}

TStr TEzuFile::name() const {
    TEzuPath path(path_);
    return path.leaf();
}

TStr TEzuFile::extension() const {
    TEzuPath path(path_);
    return path.extension();
}

// Completed as the file calls read the path, so that a path from the drive
// root and the same path with its drive share one key.
TStr TEzuFile::absolutePath() const {
    return TEzuPath(path_).resolved();
}

// Every entry for the same complete path shares this key, whatever form its
// path was given in.
TStr TEzuFile::settingsKey() const {
    TStr key = absolutePath();
    key.translate("\\/.;:", "_");
    return key;
}

// Reads the stored state of the current path. A comment already on the entry
// wins over the stored one, and the store can only disable an entry.
void TEzuFile::refresh() {
    const TStr key = settingsKey();
    const int disabled = ezuGetInt(key + "_disable");
    if (comment_.isEmpty())
        comment_ = ezuGetString(key + "_comment");
    if (disabled != 0)
        enabled_ = false;
}
