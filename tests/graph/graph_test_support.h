#pragma once
// Small models built in code for the graph tests, and reading pixels of a drawn surface.

#include <QImage>

#include <initializer_list>
#include <utility>

#include "core/color.h"
#include "gwl/draw_surface.h"
#include "model/structure_model.h"

namespace vorax::testing {

struct NodeSpec {
    float x = 0, y = 0, z = 0;
    std::array<std::int32_t, 3> codes{};
    std::array<float, 3> values{};
    bool has_values = false;
};

// A model with the nodes and elements given, every node selected, classified as the reader
// classifies them, origin node and extents set.
inline StructureModel make_model(int ngl, std::initializer_list<NodeSpec> nodes,
                                 std::initializer_list<std::pair<int, int>> elements = {})
{
    StructureModel m;
    m.NGL = ngl;
    m.problem_title = "TEST MODEL";
    for (const NodeSpec& spec : nodes) {
        Node n;
        n.coords = {spec.x, spec.y, spec.z};
        n.codes = spec.codes;
        n.values = spec.values;
        n.has_values = spec.has_values;
        int coded = 0;
        for (int k = 0; k < ngl; ++k)
            coded += spec.codes[static_cast<std::size_t>(k)] != 0;
        n.free = coded == 0;
        n.fixed = coded == ngl;
        n.selected = true;
        m.coded_node_count += coded > 0;
        m.nodes.push_back(n);
    }
    for (auto [a, b] : elements)
        m.elements.push_back({a, b});
    m.node_count = static_cast<std::int32_t>(m.nodes.size());
    m.element_count = static_cast<std::int32_t>(m.elements.size());
    for (std::int32_t i = 1; i <= m.node_count && m.origin_node == 0; ++i) {
        const Node& n = m.node(i);
        if (n.coords[0] == 0 && n.coords[1] == 0 && (ngl == 2 || n.coords[2] == 0))
            m.origin_node = i;
    }
    update_extents(m, true);
    return m;
}

// The picture of a surface with pixels read as program colours.
class Pixels {
public:
    explicit Pixels(const gwl::DrawSurface& surface) : image_(surface.image_copy()) {}
    explicit Pixels(QImage image) : image_(std::move(image)) {}
    Rgb at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
            return 0xFF000000u; // outside: no colour of the program
        const QRgb p = image_.pixel(x, y);
        return make_rgb(qRed(p), qGreen(p), qBlue(p));
    }
    // Pixels of the colour in the rectangle [x0, x1] x [y0, y1].
    int count(Rgb color, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += at(x, y) == color;
        return n;
    }
    int count(Rgb color) const { return count(color, 0, 0, image_.width() - 1, image_.height() - 1); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

} // namespace vorax::testing
