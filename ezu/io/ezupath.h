/// @file
/// TEzuPath: a file-system path that is both a string and a byte-stream device.
#ifndef EZU_IO_EZUPATH_H
#define EZU_IO_EZUPATH_H

#include "ezu/ezu_export.h"

#include <stdio.h>

#include "ezu/io/device.h"
#include "ezu/strings/tstr.h"

/// The run-time stream of an open path; kept apart from the path so that a
/// path never opened carries no stream state at all.
struct StreamHandle {
    FILE* file;
};

class EZU_API TEzuPath : public TEzuIODevice, public TStr {
  public:
    TEzuPath();
    TEzuPath(const char* text);
    TEzuPath(const TStr& text);
    TEzuPath(const TEzuPath& other); ///< the copy starts closed
    explicit TEzuPath(const StrBuf* buf);
    ~TEzuPath() override; ///< closes a stream that is still open
    /// Copies the text; a stream this path holds is closed, since the text it
    /// was opened on changes.
    TEzuPath& operator=(const TEzuPath& other);

    /// Device operations; `open` closes a stream that is already open first.
    bool open(int mode) override;
    void close() override;
    int read(void* data, int count) override;
    int write(const void* data, int count) override;
    int getc() override;
    int putc(int c) override;
    int ungetc(int c) override;
    int atEnd() override;
    int rewind();
    bool isOpen() const;

    /// Path text.
    TStr leaf();
    TStr extension();
    TEzuPath absolute() const;
    /// The complete path the file calls act on (path_resolve): absolute(),
    /// except that a path from the drive root gets only the current drive.
    TEzuPath resolved() const;
    TEzuPath absoluteJoin(const TStr& name) const;
    TEzuPath join(const TStr& name) const;
    TEzuPath join(const char* name) const;
    TEzuPath parent() const;
    TEzuPath directory(bool makeAbsolute) const;
    int setText(const TStr& text);
    bool stripLeaf();

    /// File system.
    bool exists();
    bool isFile();
    bool isDirectory();
    bool isWritable() const;
    bool isReadable() const;
    int size();
    bool makeDirectory(const TStr& suffix) const;
    int remove();
    /// Renames the file to `target`, replacing an existing file of that name
    /// (not a directory or a read-only file); 0 on success, -1 on failure. The
    /// path keeps its text. Close the path first: Windows renames no open file.
    int renameTo(const TStr& target) const;

  private:
    // Replaces the text with `text` (taken over); assignment drops the
    // string's cached view, which an in-place change would leave stale.
    void installText(StrBuf* text);
    // Rewrites "/" to "\" in the text, as the fs_ functions would in place.
    void normalizeText();

    StreamHandle* handle_;
};

/// `text` with each run of "/" turned into one "\" and runs at either end dropped.
EZU_API TStr backslashed(const TStr& text);

#endif
