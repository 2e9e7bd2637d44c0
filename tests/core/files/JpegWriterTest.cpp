#include <gtest/gtest.h>

#include "core/dive/Thumbnail.h"
#include "core/files/JpegWriter.h"
#include "core/store/FileUtil.h"
#include "core/store/TimeBase.h"
#include "support/TempDir.h"

namespace vk {

TEST(Pictures, JpegFilesAndThumbnailStamps)
{
    test::TempDir dir;
    std::vector<uint8_t> rgb(16 * 8 * 3, 200);
    ASSERT_TRUE(WriteJpeg(dir.file("a.jpg"), 16, 8, rgb.data(), 16 * 3, 90));
    EXPECT_EQ(test::TempDir::read(dir.file("a.jpg")).substr(0, 2), std::string("\xFF\xD8"));
    EXPECT_FALSE(WriteJpeg(dir.file("no/folder/a.jpg"), 16, 8, rgb.data(), 16 * 3, 90));
    EXPECT_FALSE(WriteJpeg(dir.file("b.jpg"), 0, 8, rgb.data(), 0, 90));
    EXPECT_FALSE(FileExists(dir.file("b.jpg")));

    ThumbnailSettings t;  // number and shape by default
    const double onset = EncodeTime(2026, 12, 24, 9, 7, 0);
    EXPECT_EQ(ThumbnailStamp(t, 999, onset, 'U'), "999  U");
    t.TN_nr = false;
    t.TN_date = true;
    EXPECT_EQ(ThumbnailStamp(t, 5, onset, 'W'), "24/12  W");
    t.TN_shape = false;
    t.TN_date = false;
    EXPECT_EQ(ThumbnailStamp(t, 5, onset, 'W'), "");
    EXPECT_EQ(ThumbnailFile("/data/Thumbnails/seal", 7), "/data/Thumbnails/seal/7.bmp");
}

}  // namespace vk
