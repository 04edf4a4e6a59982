// TEzuPath: path text and file-system queries over the lower tier's path_ and
// fs_ functions.
//
// Those functions normalise the text in place. A path changes its own text
// only through installText/normalizeText, which go through TStr assignment
// so that the string's cached encoded view never shows the old text. New
// paths built here have no view yet and are handed to the functions directly.
#include "ezu/io/ezupath.h"

#include "ezu/io/path.h"

#include <string.h>

namespace {

// A TStr holding a new record from the lower tier; empty when there is none.
TStr adopt_result(StrBuf* buf) {
    return buf ? TStr::adopt(buf) : TStr("");
}

} // namespace

TStr TEzuPath::leaf() {
    normalizeText();
    return adopt_result(path_leaf(buffer()));
}

TStr TEzuPath::extension() {
    normalizeText();
    return adopt_result(path_extension(buffer()));
}

TEzuPath TEzuPath::absolute() const {
    StrBuf* complete = path_absolute(buffer());
    TEzuPath result(complete);
    str_free(complete);
    return result;
}

TEzuPath TEzuPath::resolved() const {
    StrBuf* complete = path_resolve(buffer());
    TEzuPath result(complete);
    str_free(complete);
    return result;
}

TEzuPath TEzuPath::absoluteJoin(const TStr& name) const {
    TEzuPath result = absolute();
    path_join(result.buffer(), name.buffer());
    return result;
}

TEzuPath TEzuPath::join(const TStr& name) const {
    TEzuPath result(static_cast<const TStr&>(*this));
    path_join(result.buffer(), name.buffer());
    return result;
}

TEzuPath TEzuPath::join(const char* name) const {
    return join(TStr(name));
}

TEzuPath TEzuPath::parent() const {
    TEzuPath result(static_cast<const TStr&>(*this));
    result.stripLeaf();
    return result;
}

TEzuPath TEzuPath::directory(bool makeAbsolute) const {
    return makeAbsolute ? absolute().parent() : parent();
}

int TEzuPath::setText(const TStr& text) {
    if (text.isNull()) {
        TStr::operator=(TStr(""));
        return 0;
    }
    TStr::operator=(text);
    return str_is_null(buffer()) ? 0 : int(strlen(buffer()->data));
}

bool TEzuPath::stripLeaf() {
    StrBuf* rest = str_dup(buffer());
    if (!rest)
        return false;
    str_free(path_split_leaf(rest));
    installText(rest);
    return true;
}

TStr backslashed(const TStr& text) {
    TStr result(text);
    result.translate("/", "\\");
    return result;
}

bool TEzuPath::exists() {
    normalizeText();
    return fs_exists(buffer()) != 0;
}

bool TEzuPath::isFile() {
    normalizeText();
    return fs_is_file(buffer()) != 0;
}

bool TEzuPath::isDirectory() {
    normalizeText();
    return fs_is_dir(buffer()) != 0;
}

bool TEzuPath::isWritable() const {
    return fs_is_writable(buffer()) != 0;
}

bool TEzuPath::isReadable() const {
    return fs_is_readable(buffer()) != 0;
}

int TEzuPath::size() {
    normalizeText();
    return fs_size(buffer());
}

bool TEzuPath::makeDirectory(const TStr& suffix) const {
    StrBuf* name = str_dup(buffer());
    if (!name)
        return false;
    str_append(name, suffix.buffer());
    const int rc = fs_make_dir(name);
    str_free(name);
    return rc == 0;
}

int TEzuPath::remove() {
    normalizeText();
    return fs_remove_file(buffer());
}
