#include "picture/map_view_svg.h"

#include <charconv>
#include <cstdio>

#include "raster/map_shapes.h"

namespace {

// Decimal point whatever the user's regional settings, at most two places,
// no trailing zeros.
void AppendNumber(std::string& out, double value)
{
    char digits[32];
    const std::to_chars_result written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 2);
    std::string_view text(digits, static_cast<size_t>(written.ptr - digits));
    if (text.find('.') != std::string_view::npos) {
        while (text.back() == '0')
            text.remove_suffix(1);
        if (text.back() == '.')
            text.remove_suffix(1);
    }
    if (text == "-0")
        text = "0";
    out += text;
}

void AppendPair(std::string& out, char command, double x, double y)
{
    out += command;
    AppendNumber(out, x);
    out += ' ';
    AppendNumber(out, y);
}

std::string HexColour(TColor32 colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(colour & 0xFFFFFFu));
    return text;
}

// Every mark of one kind as one filled path.
void AppendMarks(std::string& out, const TMapViewPicture& picture, TViewMarkKind kind, TColor32 colour)
{
    std::string d;
    for (const TViewMark& mark : picture.Marks) {
        if (mark.Kind != kind)
            continue;
        const double half = mark.Size / 2;
        if (!d.empty())
            d += ' ';
        switch (kind) {
        case TViewMarkKind::Point:
        case TViewMarkKind::Selected:
            AppendPair(d, 'M', mark.X - half, mark.Y - half);
            d += 'h';
            AppendNumber(d, mark.Size);
            d += 'v';
            AppendNumber(d, mark.Size);
            d += 'h';
            AppendNumber(d, -mark.Size);
            d += 'z';
            break;
        case TViewMarkKind::Start:
            // A disc as two half circles.
            AppendPair(d, 'M', mark.X - half, mark.Y);
            for (const double sweep : {mark.Size, -mark.Size}) {
                d += 'a';
                AppendNumber(d, half);
                d += ' ';
                AppendNumber(d, half);
                d += " 0 1 0 ";
                AppendNumber(d, sweep);
                d += " 0";
            }
            d += 'z';
            break;
        case TViewMarkKind::End: {
            const double reach = half + 1;
            AppendPair(d, 'M', mark.X, mark.Y - reach);
            AppendPair(d, 'L', mark.X + reach, mark.Y);
            AppendPair(d, 'L', mark.X, mark.Y + reach);
            AppendPair(d, 'L', mark.X - reach, mark.Y);
            d += 'z';
            break;
        }
        }
    }
    if (d.empty())
        return;
    out += "<path fill=\"" + HexColour(colour) + "\" d=\"" + d + "\"/>\n";
}

}  // namespace

std::string SvgLabels(const std::vector<TViewLabel>& labels)
{
    if (labels.empty())
        return {};
    std::string out = "<g font-family=\"Arial, 'Liberation Sans', sans-serif\" font-size=\"";
    AppendNumber(out, MapLabelFontPx);
    out += "\" fill=\"" + HexColour(MapLabelColor) + "\" dominant-baseline=\"central\">\n";
    for (const TViewLabel& label : labels) {
        out += "<text x=\"";
        AppendNumber(out, label.X);
        out += "\" y=\"";
        AppendNumber(out, label.Y);
        out += "\">" + std::to_string(label.Point) + "</text>\n";
    }
    return out + "</g>\n";
}

std::string EncodeMapViewSvg(const TMapViewPicture& picture)
{
    const std::string width = std::to_string(picture.Width);
    const std::string height = std::to_string(picture.Height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
    out += "<svg width=\"" + width + "\" height=\"" + height + "\" viewBox=\"0 0 " + width + ' ' + height +
           "\" xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\">\n";
    out += "<title>Mapa punktów</title>\n<desc>Tovu</desc>\n";
    out += "<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"" + HexColour(MapBackgroundColor) + "\"/>\n";

    std::string d;
    for (const std::vector<TViewPlace>& path : picture.Paths) {
        for (size_t i = 0; i < path.size(); ++i) {
            if (!d.empty())
                d += ' ';
            AppendPair(d, i == 0 ? 'M' : 'L', path[i].X, path[i].Y);
        }
    }
    if (!d.empty()) {
        out += "<path fill=\"none\" stroke=\"" + HexColour(MapLinkColor) + "\" stroke-width=\"";
        AppendNumber(out, picture.Style.LinkPx);
        out += "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" d=\"" + d + "\"/>\n";
    }
    AppendMarks(out, picture, TViewMarkKind::Point, MapPointColor);
    AppendMarks(out, picture, TViewMarkKind::Start, MapStartColor);
    AppendMarks(out, picture, TViewMarkKind::End, MapEndColor);
    AppendMarks(out, picture, TViewMarkKind::Selected, MapSelectedPointColor);

    out += SvgLabels(picture.Labels);
    // The frame over the outermost pixels.
    if (picture.Width < 1 || picture.Height < 1)
        return out + "</svg>\n";
    out += "<rect x=\"0.5\" y=\"0.5\" width=\"";
    AppendNumber(out, picture.Width - 1.0);
    out += "\" height=\"";
    AppendNumber(out, picture.Height - 1.0);
    out += "\" fill=\"none\" stroke=\"" + HexColour(MapFrameColor) + "\" stroke-width=\"1\"/>\n</svg>\n";
    return out;
}
