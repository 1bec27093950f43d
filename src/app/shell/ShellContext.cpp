#include "app/shell/ShellContext.h"

namespace qs {

ShellContext& Shell() {
    static ShellContext context;
    return context;
}

}  // namespace qs
