// A scratch directory for file-system tests: created with a unique name under
// the temporary directory and removed, with the entries registered in it, when
// the object goes away. It talks to the platform layer directly, so it does
// not depend on the path and file code under test.
#ifndef EZU_TESTS_SUPPORT_SCRATCH_DIR_H
#define EZU_TESTS_SUPPORT_SCRATCH_DIR_H

#include <string>
#include <vector>

class ScratchDir {
  public:
    ScratchDir();
    ~ScratchDir(); // reports a failure when the directory cannot be removed
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The complete path in the Windows view (UTF-8, no trailing "\"); empty
    // when no directory could be created.
    const std::string& path() const { return path_; }

    // path() + "\" + name. Registered entries are removed in reverse order
    // of registration: register a directory before the files inside it.
    std::string file(const std::string& name);
    std::string dir(const std::string& name);

    // Oracles that bypass the code under test: the whole content of a file
    // (`ok` false when it cannot be read), and writing one.
    static std::string readFile(const std::string& path, bool* ok = nullptr);
    static bool writeFile(const std::string& path, const std::string& content);
    static bool exists(const std::string& path);
    static bool setReadOnly(const std::string& path, bool readOnly);

  private:
    struct Entry {
        std::string path;
        bool isDir;
    };
    std::string path_;
    std::vector<Entry> entries_;
};

#endif
