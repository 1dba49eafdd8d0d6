// The label reader and the display rule of archive files. Every input goes through both:
// as label text (when it starts like one) and as a small sample buffer whose first four
// bytes give the sample type, bands, clip share and width. A label either parses or is
// refused with ImageError; a parsed one ends inside the input, and the label window's indented
// text and the find's lines are made of it. The display rule takes any samples. Anything else
// is a finding.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "archive/display_rule.h"
#include "archive/label_text.h"
#include "imaging/image_error.h"
#include "volume/whole_label.h"

namespace {

void Label(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::optional<kobrix::ArchiveFormat> format = kobrix::SniffLabel(bytes);
    if (!format) return;
    try {
        const kobrix::LabelFacts facts = kobrix::ParseLabel(
            *format, std::string_view(reinterpret_cast<const char*>(data), size));
        // An ODL label ends where its END line does, inside the input; a VICAR label's size
        // is what it declares, checked against the file by the whole-label reader.
        const bool odl =
            *format == kobrix::ArchiveFormat::Pds3 || *format == kobrix::ArchiveFormat::Isis3;
        if (odl && facts.labelBytes > size) __builtin_trap();
        if (facts.labelBytes > size) return;
        kobrix::WholeLabel whole;
        whole.format = *format;
        whole.text.assign(reinterpret_cast<const char*>(data), facts.labelBytes);
        const std::string indented = kobrix::IndentedLabel(whole);
        const std::string lines = kobrix::MatchingLines(whole.text, "end");
        if (lines.size() > whole.text.size() + 1) __builtin_trap();
        kobrix::CheckSampleType(facts);
    } catch (const kobrix::ImageError&) {
    }
}

void Display(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return;
    kobrix::SampleView view;
    view.type = static_cast<kobrix::SampleType>(data[0] % 8);
    view.bands = data[1] % 4 + 1;
    const double p = data[2] / 255.0 * 0.499;
    view.width = data[3] % 64 + 1;
    const std::size_t row = static_cast<std::size_t>(view.width) *
                            static_cast<std::size_t>(view.bands) * kobrix::SampleBytes(view.type);
    view.height = static_cast<int>((size - 4) / row);
    if (view.height == 0) return;
    // Aligned copy: the samples are read as their own type.
    std::vector<double> aligned((size - 4 + 7) / 8);
    std::memcpy(aligned.data(), data + 4, size - 4);
    view.data = aligned.data();
    const kobrix::Bitmap24 picture = kobrix::RenderDisplayPicture(view, p);
    if (picture.Width() != view.width || picture.Height() != view.height) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Label(data, size);
    Display(data, size);
    return 0;
}
