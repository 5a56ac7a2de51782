#include "browse/FirstStartHint.h"

#include "platform/TextCodec.h"

namespace movra {

void BuildFirstStartHint(int textFileIcon, ListModel& model) {
  model.Clear();
  // Short lines: each fits the name column at its usual width.
  model.AppendCaption(Utf8ToGbk("欢迎使用 Movra！"), textFileIcon);
  model.AppendCaption(Utf8ToGbk("目录中还没有分类，这样开始："), -1);
  model.AppendCaption(Utf8ToGbk("第一步："), textFileIcon);
  model.AppendCaption(Utf8ToGbk("在左边的分类树上单击右键，"), -1);
  model.AppendCaption(Utf8ToGbk("选择“新建主类”，建立一个分类；"), -1);
  model.AppendCaption(Utf8ToGbk("第二步："), textFileIcon);
  model.AppendCaption(Utf8ToGbk("单击工具栏上的“添加”（Ctrl+V），"), -1);
  model.AppendCaption(Utf8ToGbk("把光盘添加到这个分类。"), -1);
}

}  // namespace movra
