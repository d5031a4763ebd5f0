#include "machine/descriptor.h"

#include "machine/game_loop.h"

namespace machine {

const GameDescriptor GameDescriptors[2] = {
    {u"Vortekan", u"vortekan", RunGame, DipSettings, ControlBindings},
    {},
};

}  // namespace machine
