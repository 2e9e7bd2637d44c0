#include "core/store/ChannelDescriptor.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>

#include "core/store/FileUtil.h"
#include "core/store/LittleEndian.h"
#include "core/store/Slot.h"

namespace vk {

ChannelDescriptor DefaultDescriptor(int slot)
{
    static const char* const captions[SlotCount] = {"Depth Channel", "Temp. Channel", "Aux. Channel"};
    ChannelDescriptor d;
    d.Caption = captions[CheckSlot(slot)];
    return d;
}

namespace {

// A flag the image keeps as the letter Y or N.
template <typename Flag>
struct Letter {
    Flag& flag;
};
template <typename Flag>
Letter<Flag> AsLetter(Flag& flag)
{
    return {flag};
}

constexpr std::size_t CaptionOffset = 4;
constexpr std::size_t StartFieldsOffset = 288;

// Calls visit(offset, field) for every fixed-size field of the image, so that
// encoding and decoding share one list of offsets.
template <typename Descriptor, typename Visit>
void VisitImageFields(Descriptor& d, Visit&& visit)
{
    visit(260, d.SampRate);
    visit(264, d.DataCnt);
    visit(272, d.StartTime);
    visit(280, d.EndTime);
    for (std::size_t k = 0; k < d.StartFields.size(); ++k)
        visit(StartFieldsOffset + 4 * k, d.StartFields[k]);
    visit(316, d.SmpDelay);
    visit(320, d.CorrSmpDelay);
    visit(324, d.GrRepr);
    visit(328, d.Min);
    visit(336, d.Max);
    visit(344, d.UsrCoeffA);
    visit(352, d.UsrCoeffB);
    visit(360, d.CoeffA);
    visit(368, d.CoeffB);
    visit(376, d.CoeffC);
    visit(384, d.LowRng);
    visit(392, d.HighRng);
    visit(400, d.SectionMin);
    visit(408, d.SectionMax);
    visit(416, d.yOffset);
    visit(424, d.WndSze);
    visit(425, d.LenF8F9);
    visit(426, d.PosF8F9);
    visit(427, d.format);
    visit(428, d.DisplayFlags);
    visit(432, d.Reserved432);
    visit(440, d.Reserved440);
    visit(448, d.KindEqu);
    visit(452, d.ColumnValue);
    visit(456, d.HeaderText);
    visit(460, d.IgnoreEmpLine);
    visit(461, AsLetter(d.AutoScaling));
    visit(462, AsLetter(d.UseFileInfo));
    visit(463, d.InDelimiter);
    visit(464, d.Derivation);
    visit(472, d.GridDist);
    visit(480, d.RunMean);
    // The polynomial is stored numerator first: A C E G I K, then B D F H J.
    visit(488, d.Poly_A);
    visit(496, d.Poly_C);
    visit(504, d.Poly_E);
    visit(512, d.Poly_G);
    visit(520, d.Poly_I);
    visit(528, d.Poly_K);
    visit(536, d.Poly_B);
    visit(544, d.Poly_D);
    visit(552, d.Poly_F);
    visit(560, d.Poly_H);
    visit(568, d.Poly_J);
    visit(576, d.bSet);
    visit(577, d.bApplyPolynom);
}

}  // namespace

DescriptorImage EncodeDescriptor(const ChannelDescriptor& d)
{
    DescriptorImage image{};
    const std::size_t length = std::min(d.Caption.size(), CaptionMaxLength);
    image[CaptionOffset] = static_cast<uint8_t>(length);
    std::copy_n(d.Caption.begin(), length, image.begin() + CaptionOffset + 1);
    VisitImageFields(d, [&](std::size_t offset, const auto& field) {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, Letter<const bool>>)
            image[offset] = static_cast<uint8_t>(field.flag ? 'Y' : 'N');
        else if constexpr (std::is_same_v<T, bool>)
            le::Put<uint8_t>(image.data(), offset, field ? 1 : 0);
        else if constexpr (std::is_enum_v<T>)
            le::Put<std::underlying_type_t<T>>(image.data(), offset, static_cast<std::underlying_type_t<T>>(field));
        else
            le::Put<T>(image.data(), offset, field);
    });
    return image;
}

void DecodeDescriptor(const DescriptorImage& image, ChannelDescriptor& d)
{
    const std::size_t length = image[CaptionOffset];
    d.Caption.assign(reinterpret_cast<const char*>(image.data()) + CaptionOffset + 1, length);
    VisitImageFields(d, [&](std::size_t offset, auto&& field) {
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, Letter<bool>>)
            field.flag = image[offset] == 'Y';
        else if constexpr (std::is_same_v<T, bool>)
            field = le::Get<uint8_t>(image.data(), offset) != 0;
        else if constexpr (std::is_enum_v<T>)
            field = static_cast<T>(le::Get<std::underlying_type_t<T>>(image.data(), offset));
        else
            field = le::Get<T>(image.data(), offset);
    });
}

bool AppendDescriptor(const std::string& path, const ChannelDescriptor& d)
{
    const DescriptorImage image = EncodeDescriptor(d);
    return AppendBytes(path, image.data(), image.size());
}

bool PopDescriptor(const std::string& path, ChannelDescriptor& d)
{
    DescriptorImage image;
    if (!PopTail(path, image.data(), image.size()))
        return false;
    DecodeDescriptor(image, d);
    return true;
}

}  // namespace vk
