/// @file
/// TEzuFile: one file an application lists and manages. Its comment and
/// enabled state are kept in the settings store under a key made from the
/// file's complete path, so every entry for the same file shares them.
#ifndef EZU_IO_FILE_ENTRY_H
#define EZU_IO_FILE_ENTRY_H

#include "ezu/ezu_export.h"

#include "ezu/strings/tstr.h"

class EZU_API TEzuFile {
  public:
    /// `path` is UTF-8 text.
    TEzuFile(const char* path, int number, bool enabled);
    TEzuFile(const TEzuFile& other);
    TEzuFile& operator=(const TEzuFile& other);
    virtual ~TEzuFile();

    virtual TStr itemText() const;
    virtual bool queryA() const;
    virtual bool queryB() const;

    TStr path() const { return path_; }
    TStr comment() const { return comment_; }
    TStr extraText() const { return extraText_; }
    int number() const { return number_; }
    bool enabled() const { return enabled_; }
    bool markA() const { return markA_; }
    bool markB() const { return markB_; }

    TEzuFile& setNumber(int number);
    TEzuFile& setMarkA(bool mark);
    TEzuFile& setMarkB(bool mark);
    void setExtraText(const TStr& text);
    void setPath(const TStr& path);
    void setComment(const TStr& comment);
    void setEnabled(bool enabled);

    TStr name() const;
    TStr extension() const;
    TStr absolutePath() const;

  private:
    TStr settingsKey() const;
    void refresh();

    TStr path_;
    int number_;
    TStr comment_;
    bool enabled_;
    bool markA_;
    bool markB_;
    TStr extraText_;
};

#endif
