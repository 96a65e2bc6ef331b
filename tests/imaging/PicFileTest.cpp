#include "CPicIOFile.h"
#include "CPicMemFile.h"

#include "TestFolders.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstring>

TEST(CPicMemFile, ReadsSeeksAndReportsTheEnd)
{
    uint8_t block[] = {'a', 'b', '\n', 'c', 'd', 'e'};
    CPicMemFile f(block, sizeof block);
    EXPECT_EQ(f.Size(), 6);
    uint8_t buf[8] = {};
    EXPECT_EQ(f.Read(buf, 2, 2), 2u);         // two items of two bytes
    EXPECT_EQ(std::memcmp(buf, "ab\nc", 4), 0);
    EXPECT_EQ(f.Read(buf, 4, 1), 0u);         // not a whole item left
    EXPECT_EQ(f.Read(buf, 1, 10), 2u);        // at most the bytes left
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(f.GetC(), -1);
    EXPECT_EQ(f.Error(), 0);

    EXPECT_TRUE(f.Seek(-100, 1));             // a negative result is clamped to 0
    EXPECT_EQ(f.Tell(), 0);
    EXPECT_TRUE(f.Seek(-1, 2));
    EXPECT_EQ(f.GetC(), 'e');
    EXPECT_TRUE(f.Seek(10, 0));
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(f.Error(), 1);                  // past the size

    f.Seek(0, 0);
    char line[8];
    EXPECT_STREQ(f.GetS(line, sizeof line), "ab\n");
    EXPECT_STREQ(f.GetS(line, 3), "cd");      // size - 1 bytes
    EXPECT_STREQ(f.GetS(line, sizeof line), "e");
    EXPECT_EQ(f.GetS(line, sizeof line), nullptr);
    int dummy = 0;
    EXPECT_EQ(f.Scanf("%d", &dummy), 0);
}

TEST(CPicMemFile, OwnedBlockGrowsWhileACallersBlockDoesNot)
{
    CPicMemFile owned;
    EXPECT_EQ(owned.Tell(), -1);
    EXPECT_EQ(owned.Size(), -1);
    EXPECT_TRUE(owned.Eof());
    const uint8_t data[] = {1, 2, 3};
    EXPECT_EQ(owned.Write(data, 1, 3), 3u);
    EXPECT_TRUE(owned.PutC(4));
    EXPECT_EQ(owned.Size(), 4);
    owned.Seek(70000, 0);
    EXPECT_TRUE(owned.PutC(9));               // grows past the first 64 KiB
    EXPECT_EQ(owned.Size(), 70001);
    EXPECT_EQ(owned.GetBlock()[3], 4);
    EXPECT_EQ(owned.GetBlock()[70000], 9);

    uint8_t block[4] = {};
    CPicMemFile borrowed(block, sizeof block);
    EXPECT_EQ(borrowed.Write(data, 1, 3), 3u);
    EXPECT_EQ(borrowed.Write(data, 1, 3), 0u); // beyond the caller's block
    EXPECT_TRUE(borrowed.PutC(7));
    EXPECT_FALSE(borrowed.PutC(8));
    EXPECT_EQ(block[3], 7);
}

TEST(CPicIOFile, WithoutAStreamEverythingFailsQuietly)
{
    CPicIOFile f;
    uint8_t buf[4];
    char line[4];
    EXPECT_EQ(f.Read(buf, 1, 4), 0u);
    EXPECT_EQ(f.Write(buf, 1, 4), 0u);
    EXPECT_FALSE(f.Seek(0, 0));
    EXPECT_EQ(f.Tell(), 0);
    EXPECT_EQ(f.Size(), -1);
    EXPECT_FALSE(f.Flush());
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(f.Error(), -1);
    EXPECT_FALSE(f.PutC(1));
    EXPECT_EQ(f.GetC(), -1);
    EXPECT_EQ(f.GetS(line, 4), nullptr);
    EXPECT_FALSE(f.Open(TestFolders::file(QStringLiteral("missing.bmp")), QStringLiteral("rb")));
}

TEST(CPicIOFile, OpensOnceAndMeasuresWithoutMoving)
{
    const QString path = TestFolders::file(QStringLiteral("data.bin"));
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("hello\nworld");
    }
    CPicIOFile f;
    ASSERT_TRUE(f.Open(path, QStringLiteral("rb")));
    EXPECT_FALSE(f.Open(path, QStringLiteral("rb")));
    EXPECT_EQ(f.GetC(), 'h');
    EXPECT_EQ(f.Size(), 11);
    EXPECT_EQ(f.Tell(), 1);
    char line[16];
    EXPECT_STREQ(f.GetS(line, sizeof line), "ello\n");
    EXPECT_TRUE(f.Close());
    EXPECT_TRUE(f.Eof());

    // A stream of the caller's stays open after the file object goes.
    FILE *fp = std::fopen(QFile::encodeName(path).constData(), "rb");
    ASSERT_NE(fp, nullptr);
    {
        CPicIOFile borrowed(fp);
        EXPECT_EQ(borrowed.GetC(), 'h');
    }
    EXPECT_EQ(std::fgetc(fp), 'e');
    std::fclose(fp);
}
