// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/free_format.h"

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <functional>
#include <atomic>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "model/line_source.h"
#include "model/number_syntax.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vorax {
namespace {

// The first character from `p` on that is no blank. Model lines are mostly padded with runs of
// blanks, which are passed eight at a time.
[[gnu::always_inline]] inline const char* skip_blanks(const char* p, const char* end)
{
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            const std::uint64_t other = word ^ 0x2020202020202020u; // 0 for each space
            if (other != 0) {
                p += std::countr_zero(other) / 8;
                break;
            }
            p += 8;
        }
    }
    while (p < end && is_blank(*p))
        ++p;
    return p;
}

// The values of a plain record (see read_whole_record) from `p`, the first character of a line
// that is not blank, to `end`, the end of the line, appended to `values`; false when the line is
// not plain (with some of its values appended). The text may be read up to `readable` (at least
// `end`).
template <class Values>
bool parse_plain(const char* p, const char* end, const char* readable, std::span<const FieldKind> kinds,
                 Values& values)
{
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (k > 0) {
            p = skip_blanks(p, end);
            if (p < end && *p == ',')
                p = skip_blanks(p + 1, end);
            if (p == end)
                return false;
        }
        if (*p == ',' || *p == '/')
            return false;
        PlainValue value;
        if (!(kinds[k] == FieldKind::integer ? quick_integer(p, end, readable, value.integer)
                                             : quick_real(p, end, readable, FreeFormatReader::kLongestValue, value.real)))
            return false;
        values.push_back(value);
    }
    return true;
}

// How far a run of plain records went through a text of whole lines.
struct PlainRun {
    std::size_t length = 0; // characters up to the line end of the last record read
    long lines = 0;         // lines up to that of the last record read, blank ones included
    long scanned = 0;       // lines looked at: all of the text unless `stopped`
    bool stopped = false;   // a line that is neither blank nor plain ends the run
};

// What one glance at 64 characters sees: bit i of each mask for character i.
struct Glance {
    std::uint64_t line_feeds = 0;
    std::uint64_t blanks = 0;
    std::uint64_t others = 0; // commas and slashes
};

// A line of the text as a glance sees it.
struct ShortLine {
    std::uint64_t values = 0; // bit i for each character i before the line end that is no blank
    unsigned next = 0;        // where the next line starts, from the line's start
};

// The 64 characters from `p`, which can all be read.
[[gnu::always_inline]] inline Glance glance_at(const char* p)
{
    Glance seen;
#if defined(__SSE2__)
    for (unsigned i = 0; i < 4; ++i) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        const auto mask = [](__m128i equal) {
            return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(equal)));
        };
        seen.line_feeds |= mask(_mm_cmpeq_epi8(block, _mm_set1_epi8('\n'))) << (16 * i);
        seen.blanks |= mask(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(' ')),
                                         _mm_cmpeq_epi8(block, _mm_set1_epi8('\t')))) << (16 * i);
        seen.others |= mask(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8(',')),
                                         _mm_cmpeq_epi8(block, _mm_set1_epi8('/')))) << (16 * i);
    }
#else
    static_cast<void>(p);
#endif
    return seen;
}

// The line at character `from` of a glance at `p`, when it ends within the glance and holds
// neither a comma nor a slash: the values of such a line stand between blanks, and each can be
// read on its own. False for any other line.
[[gnu::always_inline]] inline bool short_line(const char* p, const Glance& seen, unsigned from, ShortLine& line)
{
    const std::uint64_t line_feeds = seen.line_feeds >> from;
    if (line_feeds == 0)
        return false;
    const auto at = static_cast<unsigned>(std::countr_zero(line_feeds));
    const std::uint64_t before = (std::uint64_t{1} << at) - 1;
    if ((seen.others >> from & before) != 0)
        return false;
    const unsigned end = at > 0 && p[from + at - 1] == '\r' ? at - 1 : at;
    line.values = ~(seen.blanks >> from) & ((std::uint64_t{1} << end) - 1);
    line.next = at + 1;
    return true;
}

// Plain numbers whose end is known, read with one look at eight characters from `at` (which can
// all be read): a whole number of up to eight digits, and a real of up to eight digits and
// points among them, one point at most, with a sign or none before and an exponent or none
// after. False for anything else, which quick_integer and quick_real then read; for what they
// take, they give the value those give.

// The digit values of the characters (0..9 each), and the non_digits of the first `length`.
[[gnu::always_inline]] inline std::uint64_t eight_characters(const char* at, std::ptrdiff_t length,
                                                           std::uint64_t& not_digits)
{
    const std::uint64_t values = digit_values(at);
    not_digits = non_digits(values) & ~std::uint64_t{0} >> (8 * (8 - length));
    return values;
}

[[gnu::always_inline]] inline bool eight_char_integer(const char* at, const char* end, const char* readable,
                                                      std::int32_t& value)
{
    const std::ptrdiff_t length = end - at;
    if constexpr (std::endian::native != std::endian::little)
        return false;
    if (length > 8 || readable - at < 8)
        return false;
    std::uint64_t not_digits;
    const std::uint64_t values = eight_characters(at, length, not_digits);
    if (not_digits != 0)
        return false;
    value = static_cast<std::int32_t>(eight_digits(values << (8 * (8 - length))));
    return true;
}

[[gnu::always_inline]] inline bool eight_char_real(const char* at, const char* end, const char* readable,
                                                   float& value)
{
    if constexpr (std::endian::native != std::endian::little)
        return false;
    const bool negative = *at == '-';
    at += negative || *at == '+' ? 1 : 0;
    if (at == end || readable - at < 8)
        return false;
    const std::ptrdiff_t length = std::min<std::ptrdiff_t>(end - at, 8);
    std::uint64_t not_digits;
    std::uint64_t values = eight_characters(at, length, not_digits);
    // The digits end at the first character that is neither a digit nor the first point.
    std::ptrdiff_t point = -1;
    std::ptrdiff_t digits_end = not_digits == 0 ? length : std::countr_zero(not_digits) / 8;
    if (digits_end < length && at[digits_end] == '.') {
        point = digits_end;
        const std::uint64_t rest = not_digits & ~(~std::uint64_t{0} >> (56 - 8 * point));
        digits_end = rest == 0 ? length : std::countr_zero(rest) / 8;
    }
    const std::ptrdiff_t digits = digits_end - (point >= 0 ? 1 : 0);
    if (digits < 1)
        return false;
    int power = point >= 0 ? static_cast<int>(point + 1 - digits_end) : 0;
    // An exponent of one to three digits after the letter, with a sign or none, ends the number.
    if (digits_end < end - at) {
        const char* p = at + digits_end;
        int exponent;
        if (!is_exponent_letter(*p) || !read_exponent(++p, end, exponent) || p != end)
            return false;
        power += exponent;
    }
    // Seven digits or fewer are below 2^24, which a float holds exactly, and one operation with
    // an exact power of ten gives the float nearest to the number; eight digits alone become the
    // float nearest to them.
    if (power < -10 || power > 10 || (digits == 8 && power != 0))
        return false;
    if (point >= 0) {
        const std::uint64_t below = (std::uint64_t{1} << (8 * point)) - 1;
        values = (values & below) | (values >> 8 & ~below);
    }
    const auto digits_value = static_cast<float>(eight_digits(values << (8 * (8 - digits))));
    const float nearest = power < 0 ? digits_value / kExactFloatPowers[-power]
                                    : digits_value * kExactFloatPowers[power];
    value = negative ? -nearest : nearest;
    return true;
}

// The values of a plain record on a short line at `p` (see short_line), appended to `values`;
// false when they are not all plain values of their kinds (with some of them appended). The
// text may be read up to `readable`. Each value is read from its first character to its last,
// the blank after it (or the line end) ending it as in parse_plain, so the values are the same.
template <class Values>
bool parse_short_line(const char* p, const ShortLine& line, const char* readable,
                      std::span<const FieldKind> kinds, Values& values)
{
    std::uint64_t firsts = line.values & ~(line.values << 1);
    std::uint64_t lasts = line.values & ~(line.values >> 1);
    for (const FieldKind kind : kinds) {
        if (firsts == 0)
            return false;
        const char* at = p + std::countr_zero(firsts);
        const char* const end = p + std::countr_zero(lasts) + 1;
        firsts &= firsts - 1;
        lasts &= lasts - 1;
        PlainValue value;
        // The look at eight characters first; what it does not take, the quick reading must
        // take whole.
        const bool read = kind == FieldKind::integer
                              ? eight_char_integer(at, end, readable, value.integer)
                                    || (quick_integer(at, end, readable, value.integer) && at == end)
                              : eight_char_real(at, end, readable, value.real)
                                    || (quick_real(at, end, readable, FreeFormatReader::kLongestValue, value.real)
                                        && at == end);
        if (!read)
            return false;
        values.push_back(value);
    }
    return true;
}

// Reads the plain records of `text`, whole lines each with its "\n", up to the first line that
// is neither blank nor plain, into `records`, their lines counted from the first of the text (1).
// Short lines are read with a glance at their characters (short_line), the others, and those
// that glance cannot read, one value after the other (parse_plain).
PlainRun read_plain_lines(std::string_view text, std::span<const FieldKind> kinds, PlainRecords& records)
{
    PlainRun run;
    const char* const start = text.data();
    const char* const stop = start + text.size();
    for (const char* p = start; p < stop;) {
#if defined(__SSE2__)
        // Every line that ends within the glance; the first one that cannot be read so, and the
        // one the glance cuts, are looked at again from their start.
        if (stop - p >= 64) {
            const Glance seen = glance_at(p);
            unsigned from = 0;
            ShortLine line;
            while (from < 64 && short_line(p, seen, from, line)) {
                const std::size_t at = records.values.size();
                if (line.values != 0) {
                    if (!parse_short_line(p + from, line, stop, kinds, records.values)) {
                        records.values.resize(at);
                        break;
                    }
                    records.lines.push_back(run.scanned + 1);
                    run.lines = run.scanned + 1;
                    run.length = static_cast<std::size_t>(p + from + line.next - start);
                }
                ++run.scanned;
                from += line.next;
            }
            p += from;
            if (from > 0)
                continue;
        }
#endif
        const char* const line_feed = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p)));
        const char* const end = line_feed > p && line_feed[-1] == '\r' ? line_feed - 1 : line_feed;
        ++run.scanned;
        p = skip_blanks(p, end);
        if (p < end) {
            const std::size_t at = records.values.size();
            if (!parse_plain(p, end, stop, kinds, records.values)) {
                records.values.resize(at);
                run.stopped = true;
                --run.scanned;
                break;
            }
            records.lines.push_back(run.scanned);
            run.lines = run.scanned;
            run.length = static_cast<std::size_t>(line_feed + 1 - start);
        }
        p = line_feed + 1;
    }
    return run;
}

// Why `text` is no value of a field of `kind`. (Kept out of the reading path: it runs once per
// block at most.)
[[gnu::cold, gnu::noinline]] ValueFault fault_of(FieldKind kind, std::string_view text)
{
    std::size_t exponent_letter = 0;
    const bool real = real_syntax(text, exponent_letter);
    if (kind == FieldKind::real)
        return real ? ValueFault::real_too_large : ValueFault::not_a_number;
    const std::size_t digits_from = !text.empty() && (text[0] == '+' || text[0] == '-') ? 1 : 0;
    const bool whole = text.size() > digits_from
        && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits_from), text.end(), is_digit);
    return whole ? ValueFault::integer_too_large
        : real   ? ValueFault::real_for_integer
                 : ValueFault::not_a_number;
}
} // namespace

// A thread that runs tasks for the reader, one at a time, and waits in between.
class HelperThread {
public:
    HelperThread() : thread_([this] { serve(); }) {}
    ~HelperThread()
    {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    // Runs `task` once the task running now has ended; a task posted before that has not begun
    // is dropped. A task must not throw.
    void post(std::function<void()> task)
    {
        {
            std::lock_guard lock(mutex_);
            pending_ = std::move(task);
        }
        wake_.notify_one();
    }

    // True when no task runs or waits: the thread holds on to nothing of the tasks before.
    bool idle()
    {
        std::lock_guard lock(mutex_);
        return !running_ && !pending_;
    }

private:
    void serve()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return quit_ || pending_; });
            if (quit_)
                return;
            std::function<void()> task = std::move(pending_);
            pending_ = nullptr;
            running_ = true;
            lock.unlock();
            task();
            task = nullptr;
            lock.lock();
            running_ = false;
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::function<void()> pending_;
    bool running_ = false;
    bool quit_ = false;
    std::thread thread_; // last: it starts serving at once
};

// Lines at hand cut into chunks at line ends, whose plain records the helper thread and the
// reader's own thread read in turns: each takes the next chunk nobody has taken, so neither
// waits for the other longer than one chunk takes, and a helper that does not get to run
// (on a busy machine) costs nothing but the cutting.
struct LineChunks {
    std::vector<FieldKind> kinds;
    std::vector<std::string_view> texts;
    std::vector<PlainRecords> records; // lines counted from the chunk's first
    std::vector<PlainRun> runs;
    std::atomic<std::size_t> next{0}; // the next chunk to take
    std::mutex mutex;
    std::condition_variable finished;
    std::size_t done = 0; // chunks read

    // Cuts `text` into at most `count` chunks, none taken yet. (The records keep the room they
    // had, so that chunks made again need no new memory.)
    void cut(std::span<const FieldKind> field_kinds, std::string_view text, std::size_t count)
    {
        kinds.assign(field_kinds.begin(), field_kinds.end());
        texts.clear();
        std::size_t from = 0;
        for (std::size_t i = 1; i <= count && from < text.size(); ++i) {
            const std::size_t to = i == count ? text.size() : text.find('\n', std::max(from, text.size() / count * i)) + 1;
            texts.push_back(text.substr(from, to - from));
            from = to;
        }
        records.resize(texts.size());
        for (PlainRecords& chunk : records) {
            chunk.fields = kinds.size();
            chunk.lines.clear();
            chunk.values.clear();
        }
        runs.assign(texts.size(), PlainRun{});
        next = 0;
        done = 0;
    }

    // Reads chunks until none is left to take.
    void read()
    {
        for (std::size_t i = next++; i < texts.size(); i = next++) {
            try {
                // The records are filled on this thread's own stack: the two threads fill the
                // records of neighbouring chunks, and vector ends sharing a cache line would
                // pass between the cores at every value (a quarter of the reading time).
                PlainRecords own{kinds.size(), 0, {}, {}};
                own.lines.swap(records[i].lines);
                own.values.swap(records[i].values);
                runs[i] = read_plain_lines(texts[i], kinds, own);
                records[i].lines.swap(own.lines);
                records[i].values.swap(own.values);
            } catch (...) {
                // Out of memory: the chunk counts as not plain and is read again the usual way.
                records[i].lines.clear();
                records[i].values.clear();
                runs[i] = PlainRun{};
                runs[i].stopped = true;
            }
            std::lock_guard lock(mutex);
            ++done;
            finished.notify_all();
        }
    }

    // Takes the chunks nobody has taken yet away and waits for those being read.
    void stop()
    {
        const std::size_t taken = std::min(next.exchange(texts.size()), texts.size());
        std::unique_lock lock(mutex);
        finished.wait(lock, [&] { return done == taken; });
    }
};

FreeFormatReader::FreeFormatReader(LineSource& lines, std::size_t read_ahead_length)
    : lines_(lines), read_ahead_length_(read_ahead_length)
{
}

FreeFormatReader::~FreeFormatReader()
{
    // The helper's thread ends once the chunk it reads is done.
    drop_read_ahead();
}

bool FreeFormatReader::fetch_piece()
{
    if (ahead_)
        drop_read_ahead();
    const bool new_line = line_ends_;
    position_ = 0;
    if (!lines_.next(line_, line_ends_)) {
        ended_inside_line_ = !new_line;
        line_ = {};
        line_ends_ = true;
        return false;
    }
    if (new_line)
        ++line_number_;
    return true;
}

// The rest of the current line is skipped piece by piece, never gathered.
bool FreeFormatReader::fetch_line()
{
    while (!line_ends_)
        if (!fetch_piece())
            return false;
    return fetch_piece();
}

bool FreeFormatReader::next_line(std::string_view& line)
{
    begin_record();
    if (!fetch_line())
        return false;
    if (line_ends_ || line_.size() >= kLineHead) {
        line = line_;
        return true;
    }
    head_.assign(line_);
    while (!line_ends_ && head_.size() < kLineHead && fetch_piece())
        head_.append(line_);
    line = head_;
    return true;
}

void FreeFormatReader::begin_record()
{
    in_line_ = false;
    comma_pending_ = true;
    record_start_ = true;
    ended_by_slash_ = false;
    pending_count_ = 0;
}

void FreeFormatReader::end_record() { begin_record(); }

// The value text from the current position to the next separator. A value that a piece end
// cuts is put together from the pieces of its line.
std::string_view FreeFormatReader::scan_value()
{
    const std::size_t start = position_;
    while (position_ < line_.size() && !is_separator(line_[position_]))
        ++position_;
    if (position_ < line_.size() || line_ends_)
        return line_.substr(start, position_ - start);
    value_.assign(line_.substr(start));
    while (position_ == line_.size() && !line_ends_ && value_.size() <= kLongestValue && fetch_piece()) {
        while (position_ < line_.size() && !is_separator(line_[position_]))
            ++position_;
        value_.append(line_.substr(0, position_));
    }
    return value_;
}

// Drops the record as unreadable, keeping why for the model check.
[[gnu::cold, gnu::noinline]] ItemStatus FreeFormatReader::refuse(ValueFault fault, std::string_view value)
{
    unreadable_.value_line = line_number_;
    unreadable_.fault = fault;
    unreadable_.value.assign(value.substr(0, Unreadable::kShownLength));
    for (char& c : unreadable_.value)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    begin_record();
    return ItemStatus::unreadable;
}

WholeStatus FreeFormatReader::read_whole_record(std::span<const FieldKind> kinds, std::span<PlainValue> values)
{
    if (in_line_ || !record_start_ || values.size() < kinds.size())
        return WholeStatus::by_item;
    struct {
        PlainValue* next;
        void push_back(const PlainValue& value) { *next++ = value; }
    } filler{values.data()};
    for (;;) {
        if (!fetch_line())
            return WholeStatus::end_of_file;
        in_line_ = true;
        if (!line_ends_)
            return WholeStatus::by_item;
        const char* p = line_.data();
        const char* const end = p + line_.size();
        while (p < end && is_blank(*p))
            ++p;
        if (p < end)
            // The position stays at the start of the line: a record that is not plain is read
            // from there by next_item.
            return parse_plain(p, end, end, kinds, filler) ? WholeStatus::read : WholeStatus::by_item;
        // A blank line, read the way next_item reads it.
        in_line_ = false;
        comma_pending_ = record_start_ = false;
    }
}

void FreeFormatReader::drop_read_ahead()
{
    if (ahead_) {
        ahead_->stop();
        ahead_.reset();
    }
}

// Lines at hand cut into chunks for the helper thread and this one, or left whole when there is
// no helper or they are short.
std::shared_ptr<LineChunks> FreeFormatReader::chunks_of(std::string_view text, std::span<const FieldKind> kinds)
{
    // The chunks of the lines before last, once the helper is done with them.
    auto chunks = spare_ && (!helper_ || helper_->idle()) ? std::move(spare_) : std::make_shared<LineChunks>();
    constexpr std::size_t kChunks = 8;
    if (read_ahead_length_ > 0 && text.size() >= read_ahead_length_ && !helper_) {
        try {
            helper_ = std::make_unique<HelperThread>();
        } catch (const std::system_error&) {
            read_ahead_length_ = 0; // no thread to be had: all is read here
        }
    }
    if (read_ahead_length_ == 0 || text.size() < read_ahead_length_) {
        chunks->cut(kinds, text, 1);
        return chunks;
    }
    chunks->cut(kinds, text, kChunks);
    helper_->post([chunks] { chunks->read(); });
    return chunks;
}

std::size_t FreeFormatReader::read_plain_records(std::span<const FieldKind> kinds,
                                                 const std::function<void(const PlainRecords&)>& take)
{
    if (in_line_ || !record_start_ || !line_ends_ || kinds.empty()) {
        drop_read_ahead();
        return 0;
    }
    std::shared_ptr<LineChunks> chunks;
    if (ahead_ && std::equal(kinds.begin(), kinds.end(), ahead_->kinds.begin(), ahead_->kinds.end())) {
        chunks = std::move(ahead_);
    } else {
        drop_read_ahead();
        const std::string_view text = lines_.lines_ahead();
        // The source may have moved its text to read more.
        line_ = {};
        position_ = 0;
        chunks = chunks_of(text, kinds);
    }
    // While the helper reads these lines, the next ones come in.
    if (helper_ && chunks->texts.size() > 1)
        lines_.read_next_chunk();
    chunks->read();
    chunks->stop();

    // A chunk goes on from the one before it when that one was plain to its end. Blank lines
    // after the last record are left.
    std::size_t length = 0;
    long lines = 0;
    long offset = 0; // lines before the chunk
    std::size_t count = 0;
    std::size_t used = 0;
    bool stopped = false;
    while (used < chunks->texts.size() && !stopped) {
        PlainRecords& records = chunks->records[used];
        const PlainRun& run = chunks->runs[used];
        records.first_line = line_number_ + offset;
        if (records.size() > 0) {
            count += records.size();
            length = static_cast<std::size_t>(chunks->texts[used].data() - chunks->texts[0].data()) + run.length;
            lines = offset + run.lines;
        }
        offset += run.scanned;
        stopped = run.stopped;
        ++used;
    }
    lines_.skip_ahead(length);
    line_number_ += lines;

    // After a run through all lines at hand the next ones are most likely plain records too:
    // the helper reads them while the records go to `take`.
    if (!stopped && count > 0 && read_ahead_length_ > 0) {
        const std::string_view next = lines_.lines_ahead();
        line_ = {};
        position_ = 0;
        if (next.size() >= read_ahead_length_)
            ahead_ = chunks_of(next, kinds);
    }
    for (std::size_t i = 0; i < used; ++i)
        if (chunks->records[i].size() > 0)
            take(chunks->records[i]);
    spare_ = std::move(chunks);
    return count;
}

ItemStatus FreeFormatReader::take_pending(FieldKind kind, std::int64_t max_count, Item& item)
{
    item = Item{};
    item.count = std::min(pending_count_, max_count);
    item.null = pending_null_;
    if (!pending_null_) {
        bool readable = kind == FieldKind::integer ? parse_integer(pending_text_, item.integer)
                                                   : parse_real(pending_text_, item.real);
        if (!readable)
            return refuse(fault_of(kind, pending_text_), pending_text_);
    }
    pending_count_ -= item.count;
    return ItemStatus::value;
}

ItemStatus FreeFormatReader::next_item(FieldKind kind, std::int64_t max_count, Item& item)
{
    if (pending_count_ > 0)
        return take_pending(kind, max_count, item);
    if (ended_by_slash_) {
        item = Item{};
        item.count = max_count;
        item.null = true;
        return ItemStatus::value;
    }
    for (;;) {
        if (!in_line_) {
            if (!fetch_line())
                return ItemStatus::end_of_file;
            in_line_ = true;
        }
        while (position_ < line_.size() && is_blank(line_[position_]))
            ++position_;
        if (position_ == line_.size()) {
            if (!line_ends_ && fetch_piece())
                continue;
            // A line end separates like a blank. A blank first line is a line the record has
            // read, so from now on only a previous comma makes a comma a null value.
            in_line_ = false;
            if (record_start_)
                comma_pending_ = record_start_ = false;
            continue;
        }
        const char c = line_[position_];
        record_start_ = false;
        if (c == ',') {
            ++position_;
            if (comma_pending_) {
                pending_count_ = 1;
                pending_null_ = true;
                return take_pending(kind, max_count, item);
            }
            comma_pending_ = true;
            continue;
        }
        if (c == '/') {
            ended_by_slash_ = true;
            position_ = line_.size();
            return next_item(kind, max_count, item);
        }

        std::string_view token = scan_value();
        comma_pending_ = false;
        if (token.size() > kLongestValue)
            return refuse(ValueFault::too_long, token);

        auto star = token.find('*');
        if (star == std::string_view::npos) {
            pending_count_ = 1;
            pending_null_ = false;
            pending_text_ = token;
            return take_pending(kind, max_count, item);
        }
        // A repeat count: unsigned digits, at least 1.
        std::int64_t repeat = 0;
        for (std::size_t i = 0; i < star; ++i) {
            if (!is_digit(token[i]) || repeat > std::numeric_limits<std::int64_t>::max() / 20)
                return refuse(ValueFault::bad_repeat, token);
            repeat = repeat * 10 + (token[i] - '0');
        }
        if (repeat < 1)
            return refuse(ValueFault::bad_repeat, token);
        pending_count_ = repeat;
        pending_text_ = token.substr(star + 1);
        pending_null_ = pending_text_.empty();
        return take_pending(kind, max_count, item);
    }
}

} // namespace vorax
