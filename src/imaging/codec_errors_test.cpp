#include "imaging/codec_errors.h"

#include <gtest/gtest.h>

#include <set>

#include "imaging/jpeg_library.h"

namespace pictrim::imaging {
namespace {

TEST(Release6aMessageCodes, PairEachRelease6aCodeWithOneLinkedMessage) {
  std::set<int> release6a;
  std::set<int> linked;
  for (const MessageCodePair& pair : Release6aMessageCodes()) {
    release6a.insert(pair.release6a);
    linked.insert(pair.linked);
    EXPECT_LT(pair.linked, JMSG_LASTMSGCODE) << "pair for release 6a code " << pair.release6a;
  }
  // Release 6a numbers its messages 0 (JMSG_NOMESSAGE) to 71 (JERR_XMS_WRITE).
  EXPECT_EQ(release6a.size(), 72u);
  EXPECT_EQ(*release6a.begin(), 0);
  EXPECT_EQ(*release6a.rbegin(), 71);
  EXPECT_EQ(linked.size(), 72u);
}

struct Translation {
  int linked;
  int release6a;
};

class Release6aMessageCodeTest : public testing::TestWithParam<Translation> {};

TEST_P(Release6aMessageCodeTest, TranslatesByName) {
  EXPECT_EQ(Release6aMessageCode(GetParam().linked), GetParam().release6a);
}

// Messages whose linked number differs from release 6a's, plus the ones
// the program's own failures report.
INSTANTIATE_TEST_SUITE_P(
    MovedMessages, Release6aMessageCodeTest,
    testing::Values(Translation{JERR_ARITH_NOTIMPL, 1}, Translation{JERR_BAD_COMPONENT_ID, 5},
                    Translation{JERR_BAD_DCTSIZE, 6}, Translation{JERR_BAD_IN_COLORSPACE, 7},
                    Translation{JERR_BAD_HUFF_TABLE, 28}, Translation{JERR_DHT_INDEX, 29},
                    Translation{JERR_EMPTY_IMAGE, 31}, Translation{JERR_FILE_WRITE, 36},
                    Translation{JERR_IMAGE_TOO_BIG, 40}, Translation{JERR_INPUT_EMPTY, 41},
                    Translation{JERR_NO_BACKING_STORE, 48}, Translation{JERR_NO_IMAGE, 50},
                    Translation{JERR_NO_SOI, 52}, Translation{JERR_OUT_OF_MEMORY, 53},
                    Translation{JERR_SOF_UNSUPPORTED, 59}, Translation{JERR_BAD_PRECISION, 13},
                    Translation{JERR_XMS_WRITE, 71}));

// Messages release 6a lacks keep the linked library's number.
INSTANTIATE_TEST_SUITE_P(
    AddedMessages, Release6aMessageCodeTest,
    testing::Values(Translation{JERR_BAD_DCT_COEF, JERR_BAD_DCT_COEF},
                    Translation{JERR_BAD_CROP_SPEC, JERR_BAD_CROP_SPEC},
                    Translation{JERR_BAD_DROP_SAMPLING, JERR_BAD_DROP_SAMPLING},
                    Translation{JERR_NO_ARITH_TABLE, JERR_NO_ARITH_TABLE}));

}  // namespace
}  // namespace pictrim::imaging
