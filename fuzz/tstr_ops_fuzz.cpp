// TStr position operations with random positions: left, right, mid, find,
// truncate and the four token takers, applied in a random sequence, with the
// text operations around them (replace, translate, joining with a separator,
// case, trimming).
//
// Input: the text, then operations, each a selector byte and its arguments
// (a position byte or a text field). A model of the text (its bytes) is kept
// alongside; positions count characters as a lead byte steps over them,
// never past the terminator, and find reports byte offsets. Properties:
// - substrings and search results are what the model gives, for any bytes;
// - a taken token and what stays behind put the text back together, with
//   the separator (run) between them;
// - replacing, translating and joining give what the model gives, with
//   exactly one separator at every seam;
// - every sequence of operations ends and leaves no block behind.
#include "fuzz_support.h"

#include "ezu/strings/tstr.h"

#include <algorithm>

// Checks only while the model follows the string (see Run::go).
#define OP_CHECK(cond)                                                                             \
    do {                                                                                           \
        if (check_)                                                                                \
            FUZZ_CHECK(cond);                                                                      \
    } while (0)

namespace {

using Chars = std::vector<std::string>;

std::string join(const Chars& chars, size_t from, size_t to) {
    std::string out;
    for (size_t i = from; i < to && i < chars.size(); ++i)
        out += chars[i];
    return out;
}

// Byte offset of character `n`, or npos when n is negative or beyond the end.
size_t offset_of(const Chars& chars, int n) {
    if (n < 0 || size_t(n) > chars.size())
        return std::string::npos;
    return join(chars, 0, size_t(n)).size();
}

std::string upper(const std::string& text) {
    std::string out;
    for (const std::string& c : fuzz_characters(text))
        out += c.size() == 1 && c[0] >= 'a' && c[0] <= 'z' ? std::string(1, char(c[0] - 32)) : c;
    return out;
}

int model_find(const std::string& text, const std::string& needle, int from, bool cs) {
    const Chars chars = fuzz_characters(text);
    const size_t start = offset_of(chars, from);
    if (start == std::string::npos)
        return -1;
    const size_t at = cs ? text.find(needle, start) : upper(text).find(upper(needle), start);
    return at == std::string::npos ? -1 : int(at);
}

std::string model_mid(const std::string& text, int start, int nbytes) {
    const Chars chars = fuzz_characters(text);
    if (start < 0 || size_t(start) >= chars.size())
        return std::string();
    std::string out;
    for (size_t i = size_t(start); i < chars.size(); ++i) {
        if (nbytes >= 0 && out.size() + chars[i].size() > size_t(nbytes))
            break;
        out += chars[i];
    }
    return out;
}

bool is_white(char c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

std::string model_trim(const std::string& text) {
    size_t a = 0, b = text.size();
    while (a < b && is_white(text[a]))
        ++a;
    while (b > a && is_white(text[b - 1]))
        --b;
    return text.substr(a, b - a);
}

std::string model_simplify(const std::string& text) {
    std::string out;
    for (char c : model_trim(text)) {
        if (!is_white(c))
            out += c;
        else if (out.back() != ' ')
            out += ' ';
    }
    return out;
}

std::string model_replace(const std::string& text, const std::string& what,
                          const std::string& with) {
    if (what.empty())
        return text;
    std::string out;
    size_t done = 0;
    for (size_t at; (at = text.find(what, done)) != std::string::npos; done = at + what.size())
        out += text.substr(done, at - done) + with;
    return out + text.substr(done);
}

bool starts_with(const std::string& text, const std::string& head) {
    return text.compare(0, head.size(), head) == 0;
}

bool ends_with(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// `first` and `second` with exactly one `sep` at the seam (none added or
// dropped for an empty separator).
std::string seam(const std::string& first, const std::string& second, const std::string& sep) {
    const bool first_has = ends_with(first, sep), second_has = starts_with(second, sep);
    if (first_has && second_has)
        return first + second.substr(sep.size());
    return first_has || second_has ? first + second : first + sep + second;
}

// seam(out, second, sep) in place, so that a translation of many tokens
// stays linear in the model too.
void append_seam(std::string& out, const std::string& second, const std::string& sep) {
    const bool first_has = ends_with(out, sep), second_has = starts_with(second, sep);
    if (first_has && second_has)
        out.append(second, sep.size(), std::string::npos);
    else if (first_has || second_has)
        out += second;
    else
        out += sep + second;
}

std::string model_translate(const std::string& text, const std::string& set,
                            const std::string& with) {
    std::string out;
    bool any = false;
    for (size_t p = 0; p < text.size();) {
        const size_t end = std::min(text.find_first_of(set, p), text.size());
        if (end > p) {
            if (any)
                append_seam(out, text.substr(p, end - p), with);
            else
                out = text.substr(p, end - p);
            any = true;
        }
        p = set.empty() ? end : std::min(text.find_first_not_of(set, end), text.size());
    }
    return out;
}

constexpr size_t kMaxText = 16 * 1024;

class Run {
  public:
    Run(FuzzInput& in, const std::string& text) : in_(in), s_(fuzz_raw_str(text)), model_(text) {}
    void go();

  private:
    int position() { return int(int8_t(in_.byte())) / 2; }
    void substrings();
    void search();
    void takeToken();
    void takeUntil();
    void takeLastToken();
    void takeAfterLast();
    void truncate();
    void replace();
    void copies();
    void translate();
    void joinWithSeparator();

    FuzzInput& in_;
    TStr s_;
    std::string model_; // the bytes of s_
    bool check_ = true; // false once s_ is in the null state
};

void Run::substrings() {
    const Chars chars = fuzz_characters(model_);
    const int n = int(chars.size());
    const int k = position();
    OP_CHECK(fuzz_bytes(s_.left(k)) == (k < 0 || k > n ? model_ : join(chars, 0, size_t(k))));
    OP_CHECK(fuzz_bytes(s_.right(k)) == (k <= 0   ? std::string()
                                         : k >= n ? model_
                                                  : join(chars, size_t(n - k), size_t(n))));
    const int nbytes = position();
    OP_CHECK(fuzz_bytes(s_.mid(k, nbytes)) == model_mid(model_, k, nbytes));
    OP_CHECK(fuzz_bytes(s_.mid(k)) == model_mid(model_, k, -1));
    OP_CHECK(s_.length() == n);
}

void Run::search() {
    const bool cs = in_.byte() & 1;
    const int from = position();
    const std::string needle = fuzz_until_zero(in_.field());
    const int at = s_.find(needle.c_str(), from, cs);
    if (cs || (fuzz_valid_utf8(model_) && fuzz_valid_utf8(needle)))
        OP_CHECK(at == model_find(model_, needle, from, cs));
    OP_CHECK(s_.find(fuzz_raw_str(needle), from, cs) == at);
}

void Run::takeToken() {
    const std::string set = fuzz_until_zero(in_.field());
    const TStr token = s_.takeToken(fuzz_raw_str(set));
    const size_t at = set.empty() ? std::string::npos : model_.find_first_of(set);
    if (model_.empty()) {
        OP_CHECK(token.isNull() && fuzz_bytes(s_).empty() && !s_.isNull());
    } else if (at == std::string::npos) {
        OP_CHECK(fuzz_bytes(token) == model_ && s_.isNull());
    } else {
        const size_t rest = model_.find_first_not_of(set, at);
        OP_CHECK(fuzz_bytes(token) == model_.substr(0, at));
        OP_CHECK(fuzz_bytes(s_) == (rest == std::string::npos ? "" : model_.substr(rest)));
        OP_CHECK(!s_.isNull());
    }
}

void Run::takeUntil() {
    const std::string sep = fuzz_until_zero(in_.field());
    const TStr token = s_.takeUntil(fuzz_raw_str(sep));
    const size_t at = sep.empty() ? std::string::npos : model_.find(sep);
    if (at == std::string::npos) {
        OP_CHECK(fuzz_bytes(token) == model_ && s_.isNull());
    } else {
        OP_CHECK(fuzz_bytes(token) == model_.substr(0, at));
        OP_CHECK(fuzz_bytes(s_) == model_.substr(at + sep.size()) && !s_.isNull());
    }
}

void Run::takeLastToken() {
    const std::string set = fuzz_until_zero(in_.field());
    const TStr token = s_.takeLastToken(fuzz_raw_str(set));
    const size_t at = set.empty() ? std::string::npos : model_.find_last_of(set);
    if (at == std::string::npos) {
        OP_CHECK(fuzz_bytes(s_) == model_ && !s_.isNull());
        OP_CHECK(model_.empty() ? token.isNull() : fuzz_bytes(token) == model_);
    } else {
        const size_t keep = model_.find_last_not_of(set, at);
        OP_CHECK(fuzz_bytes(token) == model_.substr(at + 1));
        OP_CHECK(fuzz_bytes(s_) == (keep == std::string::npos ? "" : model_.substr(0, keep + 1)));
    }
}

void Run::takeAfterLast() {
    const std::string sep = fuzz_until_zero(in_.field());
    const TStr token = s_.takeAfterLast(fuzz_raw_str(sep));
    size_t at = sep.empty() ? std::string::npos : model_.rfind(sep);
    if (at == 0)
        at = std::string::npos; // a separator only at the very start counts as none
    if (at == std::string::npos) {
        OP_CHECK(fuzz_bytes(token) == model_ && s_.isNull());
    } else {
        OP_CHECK(fuzz_bytes(token) == model_.substr(at + sep.size()));
        OP_CHECK(fuzz_bytes(s_) == model_.substr(0, at));
    }
}

void Run::truncate() {
    const Chars chars = fuzz_characters(model_);
    const int k = position();
    const bool cut = k >= 0 && size_t(k) < chars.size();
    char* at = s_.truncate(k);
    // Cutting after exactly all characters may report the terminator's place.
    OP_CHECK(cut ? at != nullptr : (at == nullptr || size_t(k) == chars.size()));
    OP_CHECK(fuzz_bytes(s_) == (cut ? join(chars, 0, size_t(k)) : model_));
}

void Run::replace() {
    const std::string what = fuzz_until_zero(in_.field());
    const std::string with = fuzz_until_zero(in_.field());
    s_.replace(fuzz_raw_str(what), fuzz_raw_str(with));
    if (fuzz_valid_utf8(model_) && fuzz_valid_utf8(what))
        OP_CHECK(fuzz_bytes(s_) == model_replace(model_, what, with));
}

// Case and white space: copies, the string itself unchanged.
void Run::copies() {
    OP_CHECK(fuzz_bytes(s_.upper()) == upper(model_));
    if (fuzz_valid_utf8(model_)) {
        OP_CHECK(fuzz_bytes(s_.trimmed()) == model_trim(model_));
        OP_CHECK(fuzz_bytes(s_.simplified()) == model_simplify(model_));
    }
    const std::string lower = fuzz_bytes(s_.lower());
    OP_CHECK(upper(lower) == upper(model_) && lower.size() == model_.size());
    OP_CHECK(fuzz_bytes(s_) == model_);
}

void Run::translate() {
    const std::string set = fuzz_until_zero(in_.field());
    const std::string with = fuzz_until_zero(in_.field());
    s_.translate(fuzz_raw_str(set), fuzz_raw_str(with));
    OP_CHECK(fuzz_bytes(s_) == model_translate(model_, set, with));
}

void Run::joinWithSeparator() {
    const bool prepend = in_.byte() & 1;
    const std::string other = fuzz_until_zero(in_.field());
    const std::string sep = fuzz_until_zero(in_.field());
    if (prepend)
        s_.prependWithSeparator(fuzz_raw_str(other), fuzz_raw_str(sep));
    else
        s_.appendWithSeparator(fuzz_raw_str(other), fuzz_raw_str(sep));
    const std::string expected = other.empty() ? model_
                                 : prepend     ? seam(other, model_, sep)
                                               : seam(model_, other, sep);
    OP_CHECK(fuzz_bytes(s_) == expected);
}

void Run::go() {
    // The model follows the string while it holds text; once it is in the
    // null state the remaining operations only have to run safely.
    for (int step = 0; step < 24 && !in_.atEnd(); ++step) {
        check_ = !s_.isNull();
        switch (in_.pick(0, 10)) {
        case 0:
            substrings();
            break;
        case 1:
            search();
            break;
        case 2:
            takeToken();
            break;
        case 3:
            takeUntil();
            break;
        case 4:
            takeLastToken();
            break;
        case 5:
            takeAfterLast();
            break;
        case 6:
            truncate();
            break;
        case 7:
            replace();
            break;
        case 8:
            copies();
            break;
        case 9:
            translate();
            break;
        default:
            joinWithSeparator();
            break;
        }
        model_ = fuzz_bytes(s_);
        // Replacing and joining can grow the text many times over per step;
        // past this size inputs only slow the model down (the operations are
        // linear, and a quadratic one still shows as a slow input here).
        if (model_.size() > kMaxText)
            break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const std::string text = in.field();
    fuzz_balanced([&] { Run(in, text).go(); });
    return 0;
}
