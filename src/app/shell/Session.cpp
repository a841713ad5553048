#include "shell/Session.h"

#include "app/StartSequence.h"

namespace korvan::gui {

Session::Session(Prompt& prompt)
    : document(product, state, prompt), tree(product, state, prompt),
      grid(product, state, prompt, document.advancedSelection()), prompt_(prompt) {}

void Session::start(GatewayModel model) {
    startProduct(state, product, model);
}

} // namespace korvan::gui
