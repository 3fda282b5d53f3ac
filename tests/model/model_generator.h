// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Generated model files for the differential tests: the forms of the free format that the
// sibling analysis programs read alike (see list_directed_differential_test.cpp), records over
// several lines, blank lines, commas, repeat counts, surplus values and reals of every notation.

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace vorax::testing {

// Generated model files. Values are texts; an empty text is a null value.
class ModelGenerator {
public:
    explicit ModelGenerator(std::uint32_t seed) : random_(seed) {}

    std::string model()
    {
        const int nn = 1 + pick(20);
        const int ne = pick(26);
        const int ngl = 2 + pick(2);
        const bool by_number = pick(2) == 0;
        const int ic = by_number ? pick(5) : pick(9) - 1;
        const char* ends[] = {"\n", "\r\n"};
        line_end_ = ends[pick(4) == 0 ? 1 : 0];

        std::string text;
        for (int i = pick(3); i > 0; --i)
            text += "// comment " + std::to_string(pick(1000)) + line_end_;
        text += pick(5) == 0 ? "/ A SLASHED TITLE" : "MODEL " + std::to_string(pick(100000)) + " OF THE SET";
        text += line_end_;
        text += record({integer(nn), integer(ne), integer(ngl), integer(by_number ? 1 + pick(7) : 0),
                        integer(ic)},
                       false);
        for (int i = pick(6); i > 0; --i) {
            std::vector<std::string> fields{node_number(nn), node_number(nn)};
            for (int j = 0; j < ngl; ++j)
                fields.push_back(integer(pick(4) - 1));
            text += record(fields, true);
        }
        text += heading("CODES END");
        for (int i = pick(5); i > 0; --i)
            text += record(node_reals(nn, ngl), true, 1);
        text += heading("SUPPORT VALUES END");
        text += "MATERIAL" + line_end_ + line_end_ + "1 2.5E+08, 0.3" + line_end_ + "SECTION 4" + line_end_;
        for (int i = pick(nn + 4); i > 0; --i)
            text += record(node_reals(nn, ngl), true, 1);
        text += heading("COORDINATES END");
        for (int i = pick(ne + 4); i > 0; --i) {
            std::vector<std::string> fields;
            if (by_number) {
                // No null for an end: the reader keeps the element's own earlier end there.
                fields = {integer(pick(ne + 2)), integer(pick(nn + 3) - 1), integer(pick(nn + 3) - 1)};
            } else {
                fields.push_back(node_number(nn));
                for (int j = 0; j < ic; ++j)
                    fields.push_back(integer(pick(ne + 2) - 1));
            }
            text += record(fields, true);
        }
        text += heading("ELEMENTS END");
        text += "END OF MODEL" + line_end_;
        return text;
    }

private:
    int pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

    std::string heading(const std::string& words) { return (pick(3) == 0 ? "  " : "") + words + line_end_; }

    std::string integer(int value)
    {
        if (value > 0 && pick(6) == 0)
            return "+" + std::to_string(value);
        if (value >= 0 && pick(8) == 0)
            return "00" + std::to_string(value);
        return std::to_string(value);
    }

    // A node number, at times outside the model, and at times null.
    std::string node_number(int nn) { return pick(12) == 0 ? std::string() : integer(pick(nn + 3) - 1); }

    std::vector<std::string> node_reals(int nn, int ngl)
    {
        std::vector<std::string> fields{node_number(nn)};
        for (int j = 0; j < ngl; ++j)
            fields.push_back(real());
        return fields;
    }

    std::string exponent_letter() { return std::string(1, "EeDd"[pick(4)]); }

    std::string real()
    {
        char text[128];
        switch (pick(10)) {
        case 0: // whole number
            return integer(pick(2001) - 1000);
        case 1: { // fixed point, with the point anywhere
            const char* forms[] = {"%.3f", "%.0f.", "%.6f", "%.1f"};
            std::snprintf(text, sizeof text, forms[pick(4)], (pick(2000001) - 1000000) / 997.0);
            std::string s = text;
            if (s.rfind("0.", 0) == 0 && pick(2) == 0)
                s.erase(0, 1); // ".5"
            return s;
        }
        case 2: // exponent notation within the float range
            std::snprintf(text, sizeof text, "%.*f%s%+d", pick(7), (pick(20000) - 10000) / 1000.0,
                          exponent_letter().c_str(), pick(70) - 35);
            return text;
        case 3: // a subnormal float, rounded to nine digits
            std::snprintf(text, sizeof text, "%.8e",
                          static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(1 + pick(0x7FFFFF)))));
            return text;
        case 4: { // the exact midpoint between two floats: rounding to even decides
            const float f = std::bit_cast<float>(static_cast<std::uint32_t>(0x35800000 + pick(0x15000000)));
            const double midpoint = (double(f) + double(std::nextafter(f, 2.0f * f))) / 2;
            std::snprintf(text, sizeof text, "%.70e", pick(2) == 0 ? midpoint : -midpoint);
            return text;
        }
        case 5: { // below the float range, at times far below
            const char* forms[] = {"1.0E-400", "-2e-324", "1d-999", "-7.5E-50", "0.0001e-330", "1E-46", "-1.0D-99999"};
            return forms[pick(7)];
        }
        case 6: {
            const char* zeros[] = {"0", "-0.0", "0.0E+00", "+0.", "-.0d0"};
            return zeros[pick(5)];
        }
        case 7: {
            const char* extremes[] = {"3.4028234E+38", "-3.4028234e38", "1.17549435E-38", "1.4E-45", "7.0064923E-46"};
            return extremes[pick(5)];
        }
        default:
            std::snprintf(text, sizeof text, "%.9g", (pick(2000001) - 1000000) / 13.0);
            return text;
        }
    }

    std::string blank_separator()
    {
        const std::string separators[] = {" ", "  ", "\t", " \t ", line_end_, " " + line_end_ + "  ",
                                          line_end_ + line_end_};
        return separators[pick(7)];
    }

    std::string comma_before_null()
    {
        const std::string separators[] = {",", " , ", ",\t", "," + line_end_, line_end_ + ",",
                                          " ," + line_end_ + line_end_ + " "};
        return separators[pick(6)];
    }

    // The comma after a null stands on the line of what comes before the null. On the record's
    // first line only that makes a null of a leading comma; and gfortran takes a comma that
    // begins a line after a value or after blank lines as part of the line end before it, so a
    // second comma on a later line gives no null there: for "1\n,\n,3" it reads 1 3, where the
    // standard (and the reader) read 1, a null and 3.
    std::string comma_after_null()
    {
        const std::string separators[] = {",", " , ", ",\t", "," + line_end_, " ," + line_end_ + line_end_ + " "};
        return separators[pick(5)];
    }

    // A repeat group covers fields of one kind: gfortran refuses "2*5" for an integer and a real
    // field, which the standard allows (and the reader takes). Reals start at `first_real`.
    std::string record(std::vector<std::string> fields, bool repeats, std::size_t first_real = 99)
    {
        std::vector<std::string> items;
        for (std::size_t i = 0; i < fields.size();) {
            std::size_t run = 1;
            while (i + run < fields.size() && !fields[i].empty() && fields[i + run] == fields[i]
                   && (i < first_real) == (i + run < first_real))
                ++run;
            if (repeats && run > 1 && pick(2) == 0) {
                items.push_back(std::to_string(run) + "*" + fields[i]);
                i += run;
            } else {
                items.push_back(fields[i++]);
            }
        }

        // Before the first value: blanks, or blank lines that the record reads, at times with a
        // comma after them that only separates. (Before a null, blank lines alone would turn
        // the null's comma into a separator.)
        std::string text;
        switch (pick(6)) {
        case 0: text += "   "; break;
        case 1: text += items[0].empty() ? line_end_ + "," : line_end_; break;
        case 2: text += "  " + line_end_ + ", "; break;
        case 3: text += line_end_ + line_end_ + ","; break;
        default: break;
        }
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0)
                text += items[i - 1].empty() ? comma_after_null()
                    : items[i].empty()       ? comma_before_null()
                                             : blank_separator();
            text += items[i];
        }
        const std::string surplus[] = {"", "", "", " 99", " 1 2 3 words", " / comment", "\t7, 8"};
        text += surplus[pick(7)];
        return text + line_end_;
    }

    std::mt19937 random_;
    std::string line_end_ = "\n";
};

} // namespace vorax::testing
