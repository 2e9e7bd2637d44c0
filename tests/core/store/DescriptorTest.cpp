#include <gtest/gtest.h>

#include "core/store/ChannelDescriptor.h"
#include "core/store/FileUtil.h"
#include "core/store/LittleEndian.h"
#include "support/TempDir.h"

namespace vk {

namespace {

// A descriptor in which every field differs from its default.
ChannelDescriptor Unusual()
{
    ChannelDescriptor d = DefaultDescriptor(1);
    d.NameIn = "/data/seal 7/dive log.txt";
    d.Caption = "Water temperature (deg C)";
    d.SampRate = 125;
    d.DataCnt = 123456;
    d.StartTime = 6.5e11;
    d.EndTime = 6.6e11;
    d.StartFields = {2002, 1, 5, 11, 32, 7, 0};
    d.SmpDelay = 17;
    d.CorrSmpDelay = 16;
    d.GrRepr = -3;
    d.Min = -1.5;
    d.Max = 99.25;
    d.UsrCoeffA = 2.0;
    d.UsrCoeffB = 3.0;
    d.CoeffA = 0.001;
    d.CoeffB = -4.0;
    d.CoeffC = 1e-9;
    d.LowRng = -4.0;
    d.HighRng = 91.0;
    d.SectionMin = 1.0;
    d.SectionMax = 2.0;
    d.yOffset = 0.75;
    d.WndSze = 3;
    d.LenF8F9 = 7;
    d.PosF8F9 = 2;
    d.format = ChannelFormat::Binary;
    d.DisplayFlags = 3;
    d.Reserved432 = 4.0;
    d.Reserved440 = 5.0;
    d.KindEqu = 'A';
    d.ColumnValue = 5;
    d.HeaderText = 2;
    d.IgnoreEmpLine = true;
    d.AutoScaling = false;
    d.UseFileInfo = false;
    d.InDelimiter = ';';
    d.Derivation = true;
    d.GridDist = 10.0;
    d.RunMean = 9;
    d.Poly_A = 1.0;
    d.Poly_B = 2.0;
    d.Poly_C = 3.0;
    d.Poly_D = 4.0;
    d.Poly_E = 5.0;
    d.Poly_F = 6.0;
    d.Poly_G = 7.0;
    d.Poly_H = 8.0;
    d.Poly_I = 9.0;
    d.Poly_J = 10.0;
    d.Poly_K = 11.0;
    d.bSet = true;
    d.bApplyPolynom = true;
    return d;
}

}  // namespace

TEST(Descriptor, DefaultsNameTheThreeChannels)
{
    EXPECT_EQ(DefaultDescriptor(0).Caption, "Depth Channel");
    EXPECT_EQ(DefaultDescriptor(1).Caption, "Temp. Channel");
    EXPECT_EQ(DefaultDescriptor(2).Caption, "Aux. Channel");
    EXPECT_THROW(DefaultDescriptor(3), std::out_of_range);
    const ChannelDescriptor d = DefaultDescriptor(0);
    EXPECT_EQ(d.NameIn, "");
    EXPECT_EQ(d.StartTime, 31622400000.0);
    EXPECT_EQ(d.InDelimiter, '\t');
    EXPECT_EQ(d.Poly_C, 1.0);
}

TEST(Descriptor, ImageHasTheFixedLayoutAndRoundTrips)
{
    const ChannelDescriptor d = Unusual();
    const DescriptorImage image = EncodeDescriptor(d);
    EXPECT_EQ(image[4], d.Caption.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image[5]), d.Caption.size()), d.Caption);
    EXPECT_EQ(le::Get<int32_t>(image.data(), 260), 125);
    EXPECT_EQ(le::Get<double>(image.data(), 272), 6.5e11);
    EXPECT_EQ(le::Get<int32_t>(image.data(), 288), 2002);
    EXPECT_EQ(le::Get<int32_t>(image.data(), 320), 16);
    EXPECT_EQ(le::Get<double>(image.data(), 416), 0.75);
    EXPECT_EQ(image[427], 2);
    EXPECT_EQ(image[448], 'A');
    EXPECT_EQ(image[460], 1);
    EXPECT_EQ(image[463], ';');
    EXPECT_EQ(le::Get<double>(image.data(), 488), 1.0);  // Poly_A
    EXPECT_EQ(le::Get<double>(image.data(), 496), 3.0);  // Poly_C comes second
    EXPECT_EQ(le::Get<double>(image.data(), 536), 2.0);  // Poly_B after the numerator
    EXPECT_EQ(image[577], 1);

    ChannelDescriptor back = DefaultDescriptor(0);
    back.NameIn = "kept";
    DecodeDescriptor(image, back);
    ChannelDescriptor expected = d;
    expected.NameIn = "kept";
    EXPECT_EQ(back, expected);

    ChannelDescriptor longCaption;
    longCaption.Caption = std::string(300, 'c');
    DecodeDescriptor(EncodeDescriptor(longCaption), back);
    EXPECT_EQ(back.Caption, std::string(255, 'c'));
}

TEST(Descriptor, AppendAndPopWorkAsAStack)
{
    test::TempDir dir;
    const std::string stack = dir.file("Undo.bin");
    ChannelDescriptor first = DefaultDescriptor(0);
    const ChannelDescriptor second = Unusual();
    ASSERT_TRUE(AppendDescriptor(stack, first));
    ASSERT_TRUE(AppendDescriptor(stack, second));
    EXPECT_EQ(test::TempDir::read(stack).size(), 2 * DescriptorImageSize);

    ChannelDescriptor d = DefaultDescriptor(2);
    ASSERT_TRUE(PopDescriptor(stack, d));
    EXPECT_EQ(d.SampRate, 125);
    EXPECT_EQ(d.NameIn, "");  // NameIn is never taken from the image
    ASSERT_TRUE(PopDescriptor(stack, d));
    EXPECT_EQ(d.Caption, "Depth Channel");
    EXPECT_FALSE(FileExists(stack));  // the last image took the file with it
    EXPECT_FALSE(PopDescriptor(stack, d));

    const std::string shortFile = dir.write("short.bin", std::string(583, 'x'));
    EXPECT_FALSE(PopDescriptor(shortFile, d));
    EXPECT_EQ(test::TempDir::read(shortFile).size(), 583u);
}

}  // namespace vk
