// The codec's message codes as the program reports them: the numbering of
// libjpeg release 6a, whatever release is linked.
#pragma once

#include <span>

namespace pictrim::imaging {

struct MessageCodePair {
  int linked;     // the linked library's J_MESSAGE_CODE
  int release6a;  // the same message in release 6a
};

// Every message that release 6a knows, paired with the linked library's code.
std::span<const MessageCodePair> Release6aMessageCodes();

// The release 6a code of the linked library's message `code`. A message that
// release 6a does not have keeps the linked library's own number.
int Release6aMessageCode(int code);

}  // namespace pictrim::imaging
