// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/model_reader.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <system_error>
#include <thread>

#if __has_include(<unistd.h>)
#include <unistd.h>
#endif
#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

#include "core/text.h"
#include "model/free_format.h"

namespace vorax {
namespace {

constexpr std::size_t kTitleLength = 100;

// One field of a fixed-size record after reading: a null value leaves `set` false.
struct Field {
    bool set = false;
    std::int32_t integer = 0;
    float real = 0.0f;
};

// Number fields that name nodes or elements have no earlier value to keep: a null is 0.
std::int32_t number_or_zero(const Field& field) { return field.set ? field.integer : 0; }

// A stretch of an incidence row: positions start .. start+count-1 (from 0) name `element`.
struct Run {
    std::int64_t start = 0;
    std::int64_t count = 0;
    std::int32_t element = 0;
};

// A piece of one by-node record: `count` positions set to `value`, or kept when `null`.
struct Segment {
    std::int64_t start = 0;
    std::int64_t count = 0;
    bool null = false;
    std::int32_t value = 0;
};

// Puts the pages of the room reserved for the model's arrays in place on a thread of its own
// while the records are read. Every page of a new array costs the system a page fault when it is
// first written; for a model of a million nodes those faults take as long as reading a third of
// its records, and made one after the other where the records name the nodes. The thread makes
// them in bulk, each range from its end backwards, the end that the records reach last, and
// stops when reading stops. Contents are not changed: a page in place reads as zeros, as before,
// and what the reader has written stays.
//
// The arrays are in pages of two megabytes where the system gives them (LargeVector): one fault
// then puts 512 ordinary pages in place. On a virtual machine that handles the first touch of
// every ordinary page itself, about 10 us a page, a model of a million nodes took 0.19 s to read
// in ordinary pages and 0.10 s in large ones. (On a machine that hands free memory back to its
// host, large pages come cleared anew after a pause, and the same model once took 40 to 60 ms
// longer in them than in ordinary pages; the first kind is the kind measured now.)
//
// The room comes from the header's counts, which a text may claim without holding the records:
// the thread runs only for a text of known length that could fill the room (see start), so that
// a short file, or a pipe whose records are slow to come, never holds gigabytes it will not use.
class PageFiller {
public:
    static constexpr std::size_t kLeast = std::size_t{8} << 20; // bytes worth a thread
    static constexpr std::size_t kStep = std::size_t{1} << 20;
    // Most bytes of room filled for a byte of text: a node and an element take about 70 bytes
    // of room with their marks, and a dozen or more characters of text each.
    static constexpr std::uint64_t kMostPerTextByte = 16;

    PageFiller() = default;
    PageFiller(const PageFiller&) = delete;
    PageFiller& operator=(const PageFiller&) = delete;
    ~PageFiller() { stop(); }

    // Room of an array, in the order of filling.
    template <class T, class A>
    void add(const std::vector<T, A>& array)
    {
        if (array.capacity() > 0)
            ranges_.push_back({reinterpret_cast<std::uintptr_t>(array.data()), array.capacity() * sizeof(T)});
    }

    // Starts filling, when the ranges are large enough, a text of `text_length` characters
    // could fill them, and the machine has a core to spare.
    void start(std::optional<std::uint64_t> text_length)
    {
#if defined(MADV_POPULATE_WRITE)
        std::size_t bytes = 0;
        for (const Range& range : ranges_)
            bytes += range.bytes;
        if (bytes < kLeast)
            return;
        if (!text_length || bytes / kMostPerTextByte > *text_length)
            return;
        if (std::thread::hardware_concurrency() < 2)
            return;
        try {
            thread_ = std::thread([this] { fill(); });
        } catch (const std::system_error&) {
            // No thread: the pages come as the arrays are written.
        }
#endif
    }

    void stop()
    {
        stopping_.store(true, std::memory_order_relaxed);
        if (thread_.joinable())
            thread_.join();
    }

private:
    struct Range {
        std::uintptr_t first = 0;
        std::size_t bytes = 0;
    };

    void fill()
    {
#if defined(MADV_POPULATE_WRITE)
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        if (page == 0 || (page & (page - 1)) != 0)
            return;
        for (const Range& range : ranges_) {
            // Whole pages only: the first and last may be shared with other memory.
            const std::uintptr_t low = (range.first + page - 1) & ~(page - 1);
            std::uintptr_t high = (range.first + range.bytes) & ~(page - 1);
            while (high > low) {
                if (stopping_.load(std::memory_order_relaxed))
                    return;
                const std::uintptr_t from = high - low > kStep ? high - kStep : low;
                if (!put_in_place(from, high, page))
                    return; // a system without the request, or no memory left: the pages
                            // come when written
                high = from;
            }
        }
#endif
    }

    // Puts the pages from `from` to `to` in place. Where the processor can write a byte without
    // changing it in one indivisible step, each page is written so, as the reader writes it:
    // the system then takes no lock of the whole process, and the reader's own requests for
    // memory (which need that lock) never wait for a megabyte of pages to be cleared.
    static bool put_in_place(std::uintptr_t from, std::uintptr_t to, std::uintptr_t page)
    {
#if defined(__x86_64__) && defined(__GNUC__)
        for (std::uintptr_t at = to; at > from;) {
            at -= page;
            asm volatile("lock orb $0, (%0)" : : "r"(at) : "memory");
        }
        return true;
#elif defined(MADV_POPULATE_WRITE)
        return madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE) == 0;
#else
        return false;
#endif
    }

    std::vector<Range> ranges_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

std::string megabytes(std::uint64_t bytes)
{
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

class ModelReader {
public:
    ModelReader(LineSource& lines, std::string_view file_name, const ReadOptions& options)
        : lines_(lines),
          in_(lines, options.whole_records && std::thread::hardware_concurrency() > 1 ? options.read_ahead_length : 0),
          options_(options)
    {
        result_.file_name = std::string(file_name);
    }

    ReadResult read()
    {
        try {
            const bool complete = read_all();
            pages_.stop();
            if (lines_.stopped_at_nul())
                wrong_input("\"" + result_.file_name + "\" holds a NUL byte in line "
                                + std::to_string(in_.end_line()) + ": it is not a model text.",
                            "\"" + result_.file_name + "\" contine un octet NUL in linia "
                                + std::to_string(in_.end_line()) + ": nu este textul unui model.");
            else if (complete) {
                result_.model = std::move(model_);
                result_.notes = std::move(notes_);
            }
        } catch (const std::bad_alloc&) {
            pages_.stop();
            wrong_input("The model does not fit into the memory that can be had.",
                        "Modelul nu incape in memoria disponibila.");
        }
        return std::move(result_);
    }

private:
    enum class Record { read, block_end, end_of_file };
    // The fields of a record of fixed fields, and what such a record does to the model.
    using Fields = std::array<Field, 5>;
    using Apply = void (ModelReader::*)(const Fields&);
    using PlainApply = void (ModelReader::*)(const PlainRecords&);

    bool read_all()
    {
        if (!read_title())
            return end_of_file("the comment and title lines", "a title line is needed");
        if (!read_header())
            return false;
        if (!read_block(ModelBlock::code, "the code block"))
            return false;
        classify_nodes();
        keep_block_lines(notes_.code_lines);
        if (!read_block(ModelBlock::value, "the value block"))
            return false;
        keep_block_lines(notes_.value_lines);
        std::string_view skipped;
        for (int i = 0; i < 4; ++i)
            if (!in_.next_line(skipped))
                return end_of_file("the four lines after the value block", "all four are needed");
        if (!read_block(ModelBlock::coordinate, "the coordinate block"))
            return false;
        notes_.coordinates_from = block_line_;
        find_origin_node();
        if (!read_block(ModelBlock::element, "the element block"))
            return false;
        if (!by_number_)
            connect_incidences();
        // Whatever no record named gets its place now, with the initial values.
        grow_nodes(model_.node_count);
        grow(model_.elements, model_.element_count);
        if (!marks_)
            notes_ = {};
        else if (by_number_)
            grow(notes_.elements, model_.element_count);
        else
            grow(notes_.incidences, model_.node_count);
        return true;
    }

    // Records up to the block's closing line; false when the file ends before it.
    bool read_block(ModelBlock block, std::string_view part)
    {
        block_ = block;
        // The node marks serve the code, value and coordinate blocks in turn: a mark from a line
        // before the block's first belongs to an earlier block, and counts as none.
        block_line_ = stored_line(in_.line_number() + 1);
        constexpr auto I = FieldKind::integer;
        constexpr auto R = FieldKind::real;
        static constexpr std::array<FieldKind, 5> kCodeKinds{I, I, I, I, I};
        static constexpr std::array<FieldKind, 4> kNodeRealKinds{I, R, R, R};
        static constexpr std::array<FieldKind, 3> kElementKinds{I, I, I};
        const auto ngl = static_cast<std::size_t>(model_.NGL);
        std::span<const FieldKind> kinds;
        Apply apply = nullptr;
        PlainApply apply_batch = nullptr;
        switch (block) {
        case ModelBlock::code:
            kinds = std::span(kCodeKinds).first(2 + ngl);
            apply = &ModelReader::apply_code;
            apply_batch = &ModelReader::apply_plain<&ModelReader::apply_code>;
            break;
        case ModelBlock::value:
            kinds = std::span(kNodeRealKinds).first(1 + ngl);
            apply = &ModelReader::apply_values;
            apply_batch = &ModelReader::apply_plain<&ModelReader::apply_values>;
            break;
        case ModelBlock::coordinate:
            kinds = std::span(kNodeRealKinds).first(1 + ngl);
            apply = &ModelReader::apply_coordinates;
            apply_batch = &ModelReader::apply_plain<&ModelReader::apply_coordinates>;
            break;
        case ModelBlock::element:
            if (by_number_) {
                kinds = kElementKinds;
                apply = &ModelReader::apply_element;
                apply_batch = &ModelReader::apply_plain<&ModelReader::apply_element>;
            }
            break;
        }
        for (;;) {
            // Plain records the source has at hand go in batches; a record that is not plain
            // (or any record when the source has no lines at hand) the usual way.
            if (apply && options_.whole_records
                && in_.read_plain_records(kinds, [&](const PlainRecords& records) { (this->*apply_batch)(records); }) > 0)
                continue;
            switch (apply ? read_record(kinds, apply) : read_incidence_record()) {
            case Record::read:
                continue;
            case Record::block_end:
                note_block_end(block);
                return true;
            case Record::end_of_file:
                return end_of_file(part, "the block needs a closing line");
            }
        }
    }

    // The problem in both languages of the program.
    bool fail(ReadStatus status, std::string message, std::string message_ro)
    {
        result_.status = status;
        result_.line = in_.line_number();
        result_.message = std::move(message);
        result_.message_ro = std::move(message_ro);
        return false;
    }

    bool end_of_file(std::string_view part, std::string_view need)
    {
        const std::string name = "\"" + result_.file_name + "\"";
        const std::string line = std::to_string(in_.line_number());
        return fail(ReadStatus::end_of_file,
                    "End of file inside " + std::string(part) + " of " + name + " after line "
                        + line + ": " + std::string(need) + ".",
                    "Sfarsit de fisier in " + std::string(romanian_text(part)) + " din " + name
                        + " dupa linia " + line + ": " + std::string(romanian_text(need)) + ".");
    }

    // The Romanian words for the parts of the file and what they need.
    static std::string_view romanian_text(std::string_view english)
    {
        static constexpr std::pair<std::string_view, std::string_view> kWords[] = {
            {"the comment and title lines", "liniile de comentariu si de titlu"},
            {"a title line is needed", "este necesara o linie de titlu"},
            {"the four lines after the value block", "cele patru linii de dupa blocul de valori"},
            {"all four are needed", "sunt necesare toate patru"},
            {"the code block", "blocul de coduri"},
            {"the value block", "blocul de valori"},
            {"the coordinate block", "blocul de coordonate"},
            {"the element block", "blocul de elemente"},
            {"the block needs a closing line", "blocul are nevoie de o linie de inchidere"},
        };
        for (const auto& [en, ro] : kWords)
            if (en == english)
                return ro;
        return english;
    }

    bool wrong_input(std::string message, std::string message_ro)
    {
        return fail(ReadStatus::wrong_input_file, std::move(message), std::move(message_ro));
    }

    // Comment lines ("//" at the start), then the title line.
    bool read_title()
    {
        std::string_view line;
        bool first = true;
        while (in_.next_line(line)) {
            // A byte order mark, which some editors put in front, is not part of the text.
            if (first && line.substr(0, 3) == "\xEF\xBB\xBF")
                line.remove_prefix(3);
            first = false;
            if (line.substr(0, 2) == "//")
                continue;
            notes_.title_line = stored_line(in_.line_number());
            model_.problem_title = std::string(trim_right(cut(line, kTitleLength)));
            return true;
        }
        return false;
    }

    void begin_record()
    {
        in_.begin_record();
        record_begun_ = false;
    }

    // The next piece of the current record; false, with `stop` saying how the block goes on,
    // when the record cannot be completed.
    bool next_item(FieldKind kind, std::int64_t max_count, Item& item, Record& stop)
    {
        switch (in_.next_item(kind, max_count, item)) {
        case ItemStatus::value:
            // The record starts where its first value, null value or slash is.
            if (!record_begun_) {
                record_begun_ = true;
                record_line_ = stored_line(in_.line_number());
            }
            return true;
        case ItemStatus::unreadable:
            stop = Record::block_end;
            return false;
        case ItemStatus::end_of_file:
            stop = Record::end_of_file;
            return false;
        }
        return false;
    }

    // Reads one record of fields of the given kinds, handing pieces of the same kind together
    // so that a repeat group is read as the kind of each field it fills.
    Record read_fields(std::span<const FieldKind> kinds, std::span<Field> fields)
    {
        const std::size_t count = std::min(kinds.size(), fields.size());
        begin_record();
        std::array<PlainValue, 5> values;
        if (options_.whole_records && count <= values.size()) {
            switch (in_.read_whole_record(kinds.first(count), values)) {
            case WholeStatus::read:
                record_begun_ = true;
                record_line_ = stored_line(in_.line_number());
                for (std::size_t k = 0; k < count; ++k)
                    fields[k] = Field{true, values[k].integer, values[k].real};
                in_.end_record();
                return Record::read;
            case WholeStatus::end_of_file:
                return Record::end_of_file;
            case WholeStatus::by_item:
                break;
            }
        }
        std::size_t k = 0;
        while (k < count) {
            std::size_t same = k + 1;
            while (same < count && kinds[same] == kinds[k])
                ++same;
            Item item;
            Record stop = Record::read;
            if (!next_item(kinds[k], static_cast<std::int64_t>(same - k), item, stop))
                return stop;
            for (std::int64_t j = 0; j < item.count; ++j, ++k)
                fields[k] = Field{!item.null, item.integer, item.real};
        }
        in_.end_record();
        return Record::read;
    }

    // A record whose number is missing (", 1 2") is skipped as one of number 0 is; one of null
    // values alone is no record.
    static bool sets_anything(const Fields& f)
    {
        return std::any_of(f.begin(), f.end(), [](const Field& field) { return field.set; });
    }

    // A record of a block of fixed fields, read and applied.
    Record read_record(std::span<const FieldKind> kinds, Apply apply)
    {
        Fields f{};
        const Record r = read_fields(kinds, f);
        if (r == Record::read)
            (this->*apply)(f);
        return r;
    }

    // Applies plain records in their order, each as if read on its own. (A template of what
    // each record does, so that it is inlined into the loop over a batch.)
    template <Apply apply>
    void apply_plain(const PlainRecords& records)
    {
        Fields f{};
        for (std::size_t i = 0; i < records.size(); ++i) {
            record_begun_ = true;
            record_line_ = stored_line(records.line(i));
            const std::span<const PlainValue> values = records.record(i);
            for (std::size_t k = 0; k < values.size(); ++k)
                f[k] = Field{true, values[k].integer, values[k].real};
            (this->*apply)(f);
        }
    }

    bool read_header()
    {
        constexpr auto I = FieldKind::integer;
        std::array<FieldKind, 5> kinds{I, I, I, I, I};
        std::array<Field, 5> f{};
        switch (read_fields(kinds, f)) {
        case Record::end_of_file:
            return wrong_input("The header record is incomplete: the file ends after line "
                                   + std::to_string(in_.line_number()) + ".",
                               "Inregistrarea antetului este incompleta: fisierul se termina dupa linia "
                                   + std::to_string(in_.line_number()) + ".");
        case Record::block_end:
            return wrong_input("The header record at line " + std::to_string(in_.line_number())
                                   + " is unreadable: it needs five whole numbers.",
                               "Inregistrarea antetului din linia " + std::to_string(in_.line_number())
                                   + " nu poate fi citita: sunt necesare cinci numere intregi.");
        case Record::read:
            break;
        }
        notes_.header_line = record_line();
        const std::int32_t nn = number_or_zero(f[0]);
        const std::int32_t ne = number_or_zero(f[1]);
        const std::int32_t ngl = number_or_zero(f[2]);
        by_number_ = number_or_zero(f[3]) != 0;
        incidence_count_ = number_or_zero(f[4]);
        if (nn < 1)
            return wrong_input("The header gives " + std::to_string(nn)
                                   + " nodes; a model needs at least one.",
                               "Antetul da " + std::to_string(nn)
                                   + " noduri; un model are nevoie de cel putin unul.");
        if (ne < 0)
            return wrong_input("The header gives " + std::to_string(ne)
                                   + " elements; the count cannot be negative.",
                               "Antetul da " + std::to_string(ne)
                                   + " elemente; numarul nu poate fi negativ.");
        if (ngl != 2 && ngl != 3)
            return wrong_input("The header gives NGL = " + std::to_string(ngl)
                                   + "; it must be 2 or 3.",
                               "Antetul da NGL = " + std::to_string(ngl) + "; trebuie sa fie 2 sau 3.");

        const bool rows = !by_number_ && incidence_count_ >= 2;
        // The arrays of the model and the marks of the reader notes.
        const std::uint64_t need = std::uint64_t(nn) * (sizeof(Node) + sizeof(RecordMark))
            + std::uint64_t(ne) * sizeof(Element)
            + (by_number_ ? std::uint64_t(ne) * sizeof(RecordMark) : std::uint64_t(nn) * sizeof(RecordLine))
            + (rows ? std::uint64_t(nn) * sizeof(std::vector<Run>) : 0);
        const std::uint64_t limit = options_.memory_limit ? options_.memory_limit : physical_memory() / 2;
        if (need > limit)
            return wrong_input("The header gives " + std::to_string(nn) + (nn == 1 ? " node and " : " nodes and ")
                                   + std::to_string(ne) + (ne == 1 ? " element, which need " : " elements, which need ")
                                   + megabytes(need) + " of memory; " + megabytes(limit)
                                   + " can be had.",
                               "Antetul da " + std::to_string(nn) + (nn == 1 ? " nod si " : " noduri si ")
                                   + std::to_string(ne) + (ne == 1 ? " element, care necesita " : " elemente, care necesita ")
                                   + megabytes(need) + " de memorie; sunt disponibili "
                                   + megabytes(limit) + ".");

        model_.node_count = nn;
        model_.element_count = ne;
        model_.NGL = ngl;
        keep_rows_ = rows;
        // Room for the whole arrays, which is address space only: the system provides the pages
        // when they are first written, and the arrays are filled only as far as records name
        // their entries (see grow). A short file claiming millions of nodes is refused as soon
        // as it ends, and the arrays never move while they grow.
        model_.nodes.reserve(static_cast<std::size_t>(nn));
        model_.elements.reserve(static_cast<std::size_t>(ne));
        if (marks_) {
            notes_.nodes.reserve(static_cast<std::size_t>(nn));
            if (by_number_)
                notes_.elements.reserve(static_cast<std::size_t>(ne));
            else
                notes_.incidences.reserve(static_cast<std::size_t>(nn));
        }
        if (rows)
            rows_.reserve(static_cast<std::size_t>(nn));
        pages_.add(model_.nodes);
        pages_.add(notes_.nodes);
        pages_.add(model_.elements);
        pages_.add(notes_.elements);
        pages_.add(notes_.incidences);
        pages_.start(lines_.length());
        return true;
    }

    bool node_in_range(std::int32_t number) const { return number >= 1 && number <= model_.node_count; }

    static RecordLine stored_line(long line)
    {
        return line >= static_cast<long>(kLastRecordLine) ? kLastRecordLine : static_cast<RecordLine>(line);
    }

    // The first line of the record just read.
    RecordLine record_line() const { return record_line_; }

    // The closing line of a block: a record that starts like data lost its values.
    void note_block_end(ModelBlock block)
    {
        const Unreadable& value = in_.unreadable();
        BlockEnd end{block, value.value_line, true, value};
        if (!record_begun_) {
            // The value that could not be read is the record's first: it tells how the line
            // starts. A number does ("1.5", "+-1", ".5"), and so does a sign standing alone
            // ("- 1 2"); a line of dashes under a heading does not.
            std::string_view text = value.value;
            const bool lone_sign = text == "-" || text == "+";
            while (!text.empty() && (text[0] == '+' || text[0] == '-'))
                text.remove_prefix(1);
            if (!text.empty() && text[0] == '.')
                text.remove_prefix(1);
            end.looks_like_data = lone_sign || (!text.empty() && text[0] >= '0' && text[0] <= '9');
        } else {
            end.line = record_line_;
        }
        notes_.block_ends.push_back(std::move(end));
    }

    // Keeps a note of the current block; only the first kMostNotes of a kind are kept.
    void note_at(long line, NoteKind kind, std::int32_t a, std::int32_t b = 0, std::int32_t c = 0,
                 long earlier_line = 0)
    {
        if (!marks_)
            return;
        std::int64_t& count = notes_.counts[static_cast<std::size_t>(kind)];
        if (count++ < static_cast<std::int64_t>(ReaderNotes::kMostNotes))
            notes_.notes.push_back(RecordNote{kind, block_, line, earlier_line, a, b, c});
    }

    void note(NoteKind kind, std::int32_t a, std::int32_t b = 0, std::int32_t c = 0, long earlier_line = 0)
    {
        note_at(record_line_, kind, a, b, c, earlier_line);
    }

    // The bits of the fields a record set, from field `from` on: bit j for field from + j.
    template <std::size_t N>
    static std::uint32_t set_fields(const std::array<Field, N>& fields, std::size_t from, int count)
    {
        std::uint32_t bits = 0;
        for (int j = 0; j < count; ++j)
            bits |= fields[from + static_cast<std::size_t>(j)].set ? 1u << j : 0u;
        return bits;
    }

    // An array holds the entries up to the highest one a record has named, with their initial
    // values where no record has set them yet: what a full array would hold there too.
    template <class T, class A>
    static void grow(std::vector<T, A>& array, std::int32_t size)
    {
        if (static_cast<std::size_t>(size) > array.size())
            array.resize(static_cast<std::size_t>(size));
    }

    // The record lines grow like the model's arrays, but a few thousand entries ahead: their
    // entries mean "no record" until one is written, so the extra ones say the same, and most
    // records then find their entry in place.
    template <class T, class A>
    static void grow_lines(std::vector<T, A>& array, std::int32_t size)
    {
        constexpr std::size_t kStep = 4096;
        const auto needed = static_cast<std::size_t>(size);
        if (needed > array.size())
            array.resize(std::max(needed, std::min(array.size() + kStep, array.capacity())));
    }

    // The mark of node `number` in the current block.
    RecordMark node_mark(std::int32_t number) const
    {
        const RecordMark& mark = notes_.nodes[static_cast<std::size_t>(number - 1)];
        return mark.line >= block_line_ ? mark : RecordMark{};
    }

    // The nodes and their record marks grow together. (Inlined: it runs for every record of a
    // node, and a call here costs a measurable part of the reading time.)
    [[gnu::always_inline]] void grow_nodes(std::int32_t size)
    {
        grow(model_.nodes, size);
        if (marks_)
            grow_lines(notes_.nodes, size);
    }

    Node& named_node(std::int32_t number)
    {
        grow_nodes(number);
        return model_.node(number);
    }

    Element& named_element(std::int32_t number)
    {
        grow(model_.elements, number);
        return model_.element(number);
    }

    // A code record: first and last node, NGL codes.
    void apply_code(const Fields& f)
    {
        const std::int32_t first = number_or_zero(f[0]);
        const std::int32_t last = number_or_zero(f[1]);
        const bool both_given = f[0].set && f[1].set;
        if (last < first) {
            if (both_given)
                note(NoteKind::empty_range, first, last);
            return;
        }
        if (both_given && (first < 1 || last > model_.node_count))
            note(NoteKind::nodes_outside, first, last);
        const std::int32_t from = std::max(first, 1);
        const std::int32_t to = std::min(last, model_.node_count);
        if (from > to)
            return;
        grow_nodes(to);
        // Codes given for a range and then narrowed down to some of its nodes are the usual way
        // of writing exceptions; a record no narrower than the one it overrides is reported. The
        // marks of the code block keep the record's node count above the three field bits.
        const RecordLine line = record_line();
        const std::uint32_t fields = set_fields(f, 2, model_.NGL);
        const std::uint32_t span = std::min<std::uint32_t>(static_cast<std::uint32_t>(to - from) + 1, kMostSpan);
        std::int32_t replaced = 0;
        std::int32_t first_replaced = 0;
        RecordLine earlier = 0;
        for (std::int32_t n = from; n <= to; ++n) {
            Node& node = model_.node(n);
            for (int j = 0; j < model_.NGL; ++j)
                if (f[2 + j].set)
                    node.codes[j] = f[2 + j].integer;
            if (!marks_)
                continue;
            const RecordMark mark = node_mark(n);
            if ((mark.fields & fields & kFieldBits) != 0 && span >= mark.fields >> 3 && replaced++ == 0) {
                first_replaced = n;
                earlier = mark.line;
            }
            notes_.nodes[static_cast<std::size_t>(n - 1)] = RecordMark{line, (mark.fields & kFieldBits) | fields | span << 3};
        }
        if (replaced > 0)
            note(NoteKind::replaced, first_replaced, replaced, 0, earlier);
        return;
    }

    // The lines of the block just read, by node, from the node marks that the next block reuses.
    void keep_block_lines(LargeVector<RecordLine>& lines) const
    {
        std::size_t named = marks_ ? notes_.nodes.size() : 0;
        while (named > 0 && node_mark(static_cast<std::int32_t>(named)).line == 0)
            --named;
        lines.resize(named);
        for (std::size_t i = 0; i < named; ++i)
            lines[i] = node_mark(static_cast<std::int32_t>(i + 1)).line;
    }

    void classify_nodes()
    {
        std::int32_t coded = 0;
        for (Node& node : model_.nodes) {
            bool all_zero = true;
            bool all_set = true;
            for (int j = 0; j < model_.NGL; ++j) {
                all_zero = all_zero && node.codes[j] == 0;
                all_set = all_set && node.codes[j] != 0;
            }
            node.free = all_zero;
            node.fixed = all_set;
            coded += all_zero ? 0 : 1;
        }
        model_.coded_node_count = coded;
    }

    // A node number and NGL reals for `target` of that node: value and coordinate records.
    void apply_node_reals(const Fields& f, std::array<float, 3> Node::*target)
    {
        const std::int32_t number = number_or_zero(f[0]);
        if (!node_in_range(number)) {
            if (sets_anything(f))
                note(NoteKind::node_outside, number);
            return;
        }
        Node& node = named_node(number);
        if (target == &Node::values)
            node.has_values = true;
        for (int j = 0; j < model_.NGL; ++j)
            if (f[1 + j].set)
                (node.*target)[j] = f[1 + j].real;
        if (!marks_)
            return;
        const RecordMark mark = node_mark(number);
        const std::uint32_t fields = set_fields(f, 1, model_.NGL);
        if ((mark.fields & fields) != 0)
            note(NoteKind::replaced, number, 0, 0, mark.line);
        notes_.nodes[static_cast<std::size_t>(number - 1)] = RecordMark{record_line(), mark.fields | fields};
        return;
    }

    void apply_values(const Fields& f) { apply_node_reals(f, &Node::values); }
    void apply_coordinates(const Fields& f) { apply_node_reals(f, &Node::coords); }

    void find_origin_node()
    {
        const auto named = static_cast<std::int32_t>(model_.nodes.size());
        for (std::int32_t n = 1; n <= named; ++n) {
            const Node& node = model_.node(n);
            if (std::all_of(node.coords.begin(), node.coords.begin() + model_.NGL,
                            [](float c) { return c == 0.0f; })) {
                model_.origin_node = n;
                return;
            }
        }
        // The first node that no record named is still at the origin.
        model_.origin_node = named < model_.node_count ? named + 1 : 0;
    }

    // An element record: element number and end nodes.
    void apply_element(const Fields& f)
    {
        const std::int32_t number = number_or_zero(f[0]);
        if (number < 1 || number > model_.element_count) {
            if (sets_anything(f))
                note(NoteKind::element_outside, number);
            return;
        }
        Element& element = named_element(number);
        const std::int32_t node1 = f[1].set ? f[1].integer : element.node1;
        const std::int32_t node2 = f[2].set ? f[2].integer : element.node2;
        const auto end_in_range = [this](std::int32_t n) { return n >= 0 && n <= model_.node_count; };
        if (!end_in_range(node1) || !end_in_range(node2)) {
            note(NoteKind::end_node_outside, number, end_in_range(node1) ? node2 : node1);
            return;
        }
        element.node1 = node1;
        element.node2 = node2;
        if (!marks_)
            return;
        grow_lines(notes_.elements, number);
        RecordMark& mark = notes_.elements[static_cast<std::size_t>(number - 1)];
        const std::uint32_t fields = set_fields(f, 1, 2);
        if ((mark.fields & fields) != 0)
            note(NoteKind::replaced, number, 0, 0, mark.line);
        mark = RecordMark{record_line(), mark.fields | fields};
        return;
    }

    // A node number and incidence_count element numbers. The count comes from the file, so
    // a record is kept as runs of equal values rather than one slot per position.
    Record read_incidence_record()
    {
        begin_record();
        Item item;
        Record stop = Record::read;
        if (!next_item(FieldKind::integer, 1, item, stop))
            return stop;
        const std::int32_t number = item.null ? 0 : item.integer;
        const bool number_given = !item.null;

        segments_.clear();
        const std::int64_t needed = std::max<std::int64_t>(incidence_count_, 0);
        std::int64_t position = 0;
        while (position < needed) {
            if (!next_item(FieldKind::integer, needed - position, item, stop))
                return stop;
            segments_.push_back(Segment{position, item.count, item.null, item.integer});
            position += item.count;
        }
        in_.end_record();
        if (!node_in_range(number)) {
            if (number_given)
                note(NoteKind::node_outside, number);
            return Record::read;
        }
        RecordLine earlier = 0;
        if (marks_) {
            grow_lines(notes_.incidences, number);
            RecordLine& line = notes_.incidences[static_cast<std::size_t>(number - 1)];
            earlier = line;
            line = record_line();
        }
        if (keep_rows_)
            store_row(number, earlier);
        return Record::read;
    }

    // The record's values replace the node's row; null positions keep what the row held.
    // Only positions of whole pairs that name an existing element are kept. A value in a
    // position where the row named an element replaces what the record at `earlier_line` gave.
    void store_row(std::int32_t number, RecordLine earlier_line)
    {
        const std::int64_t used = incidence_count_ / 2 * 2;
        grow(rows_, number);
        std::vector<Run>& old_row = rows_[static_cast<std::size_t>(number - 1)];
        new_row_.clear();
        std::size_t j = 0;
        std::size_t o = 0; // old runs wholly before the current value
        bool overlaps = false;
        bool outside_noted = false;
        for (const Segment& s : segments_) {
            const std::int64_t begin = s.start;
            const std::int64_t end = std::min(s.start + s.count, used);
            if (begin >= end)
                break;
            if (!s.null) {
                if (s.value >= 1 && s.value <= model_.element_count) {
                    new_row_.push_back(Run{begin, end - begin, s.value});
                } else if (s.value > model_.element_count && !outside_noted) {
                    note(NoteKind::incidence_outside, number, s.value);
                    outside_noted = true;
                }
                while (o < old_row.size() && old_row[o].start + old_row[o].count <= begin)
                    ++o;
                overlaps = overlaps || (o < old_row.size() && old_row[o].start < end);
                continue;
            }
            while (j < old_row.size() && old_row[j].start + old_row[j].count <= begin)
                ++j;
            for (std::size_t k = j; k < old_row.size() && old_row[k].start < end; ++k) {
                const std::int64_t a = std::max(old_row[k].start, begin);
                const std::int64_t b = std::min(old_row[k].start + old_row[k].count, end);
                new_row_.push_back(Run{a, b - a, old_row[k].element});
            }
        }
        if (overlaps)
            note(NoteKind::replaced, number, 0, 0, earlier_line);
        old_row.swap(new_row_);
    }

    // Position 2p (from 1) of a row names an element starting at the row's node, position
    // 2p-1 one ending there. Nodes are taken in increasing number, so an element named in the
    // same role at several nodes ends up with the highest of them.
    void connect_incidences()
    {
        const auto named = static_cast<std::int32_t>(rows_.size());
        for (std::int32_t n = 1; n <= named; ++n) {
            for (const Run& run : rows_[static_cast<std::size_t>(n - 1)]) {
                Element& element = named_element(run.element);
                const bool covers_even = run.count >= 2 || run.start % 2 == 1;
                const bool covers_odd = run.count >= 2 || run.start % 2 == 0;
                if (covers_even) {
                    if (element.node1 != 0 && element.node1 != n)
                        note_other_node(NoteKind::start_replaced, run.element, n, element.node1);
                    element.node1 = n;
                }
                if (covers_odd) {
                    if (element.node2 != 0 && element.node2 != n)
                        note_other_node(NoteKind::end_replaced, run.element, n, element.node2);
                    element.node2 = n;
                }
            }
        }
        std::vector<std::vector<Run>>().swap(rows_);
    }

    // An element named in the same role at node `earlier` and then at node `kept`.
    void note_other_node(NoteKind kind, std::int32_t element, std::int32_t kept, std::int32_t earlier)
    {
        if (!marks_)
            return;
        note_at(notes_.incidences[static_cast<std::size_t>(kept - 1)], kind, element, kept, earlier,
                notes_.incidences[static_cast<std::size_t>(earlier - 1)]);
    }

    LineSource& lines_;
    FreeFormatReader in_;
    ReadOptions options_;
    const bool marks_ = options_.keep_notes; // the record marks and notes are kept
    ReadResult result_;
    StructureModel model_;
    ReaderNotes notes_;
    static constexpr std::uint32_t kFieldBits = 7;              // of a node mark
    static constexpr std::uint32_t kMostSpan = (1u << 29) - 1;  // node count kept by a code mark
    ModelBlock block_ = ModelBlock::code; // the block being read
    RecordLine block_line_ = 0;           // the line the block starts at
    bool record_begun_ = false; // the record being read has handed out a value
    RecordLine record_line_ = 0; // the first line of the record being read, or of the last one
    bool by_number_ = true;
    std::int32_t incidence_count_ = 0;
    bool keep_rows_ = false;             // by node with at least one pair per record
    std::vector<std::vector<Run>> rows_; // incidence rows of the by-node layout, per node named
    std::vector<Segment> segments_;      // the record being read
    std::vector<Run> new_row_;
    PageFiller pages_; // last: its thread ends before the arrays go
};

} // namespace

std::uint64_t physical_memory()
{
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGE_SIZE)
    long pages = sysconf(_SC_PHYS_PAGES);
    long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && page_size > 0)
        return std::uint64_t(pages) * std::uint64_t(page_size);
#endif
    return std::uint64_t{8} << 30;
}

ReadResult read_model_lines(LineSource& lines, std::string_view file_name, const ReadOptions& options)
{
    return ModelReader(lines, file_name, options).read();
}

ReadResult read_model_text(std::string_view text, std::string_view file_name, const ReadOptions& options)
{
    BufferLines lines(text);
    return read_model_lines(lines, file_name, options);
}

ReadResult read_model(const std::filesystem::path& path, const ReadOptions& options)
{
    const std::string name = path.string();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "rb"), &std::fclose);
    if (!file) {
        ReadResult result;
        result.status = ReadStatus::cannot_open;
        result.file_name = name;
        const std::string reason = std::strerror(errno);
        result.message = "Cannot open \"" + name + "\": " + reason + ".";
        result.message_ro = "Nu se poate deschide \"" + name + "\": " + reason + ".";
        return result;
    }
    FileLines lines(file.get());
    lines.count_bytes(options.bytes_read);
    ReadResult result = read_model_lines(lines, name, options);
    if (lines.failed()) {
        ReadResult failure;
        failure.status = ReadStatus::cannot_open;
        failure.file_name = name;
        failure.line = result.line;
        const std::string reason = std::strerror(lines.error_number());
        failure.message = "Cannot read \"" + name + "\": " + reason + ".";
        failure.message_ro = "Nu se poate citi \"" + name + "\": " + reason + ".";
        return failure;
    }
    return result;
}

} // namespace vorax
