#include "ui/editor/NodeGraph.h"

#include "platform/Debug.h"
#include "ui/UI_Master.h"

#include <algorithm>
#include <functional>
#include <map>
#include <unordered_set>
#include <utility>

namespace vorn::ui::editor {

namespace {

constexpr int32_t kColumnStep = UI_Node::kWidth + 24;
constexpr int32_t kRowStep = 16;

}  // namespace

NodeGraph::NodeGraph(engine::Engine& engine, int32_t x, int32_t y, int32_t width, int32_t height)
    : UI_Panel(x, y, width, height, false), engine_(engine) {}

UI_Node* NodeGraph::box(const std::string& nodeName) const {
    auto found = byName_.find(nodeName);
    return found != byName_.end() ? found->second : nullptr;
}

void NodeGraph::rebuild(std::unordered_map<std::string, std::pair<float, float>>& layout,
                        const std::unordered_map<std::string, uint8_t>& flags) {
    clearChildren();
    boxes_.clear();
    byName_.clear();
    if (!engine_.findNode(pendingSource)) pendingSource.clear();
    if (!engine_.findNode(selectedNode)) selectedNode.clear();

    std::vector<engine::Node*> nodes;
    for (const auto& [name, node] : engine_.nodesByName) nodes.push_back(node);
    std::sort(nodes.begin(), nodes.end(), [](const engine::Node* a, const engine::Node* b) { return a->name < b->name; });

    // Columns for nodes the layout does not place: one step right per input level.
    std::unordered_map<const engine::Node*, int32_t> depth;
    std::function<int32_t(const engine::Node*)> depthOf = [&](const engine::Node* node) -> int32_t {
        auto known = depth.find(node);
        if (known != depth.end()) return known->second;
        depth[node] = 0;  // the graph is acyclic; this only guards the recursion
        int32_t deepest = -1;
        for (const engine::Node* input : node->inputs)
            if (input) deepest = std::max(deepest, depthOf(input));
        return depth[node] = deepest + 1;
    };
    std::map<int32_t, float> columnBottom;
    for (engine::Node* node : nodes) {
        if (layout.count(node->name)) continue;
        int32_t column = depthOf(node);
        float& bottom = columnBottom[column];
        if (bottom == 0.0f) bottom = 30.0f;
        layout[node->name] = {float(20 + column * kColumnStep), bottom};
        bottom += float(UI_Node::kTitleHeight + node->inputCount * kRowStep + 24);
    }

    for (engine::Node* node : nodes) {
        auto [px, py] = layout[node->name];
        auto type = engine_.nodeTypes.find(node->name);
        auto made = std::make_unique<UI_Node>(*this, node->name, type != engine_.nodeTypes.end() ? type->second : "",
                                              int32_t(px), int32_t(py), node->inputNames);
        auto flag = flags.find(node->name);
        if (flag != flags.end()) made->flag = flag->second;
        made->valueListener = valueListener;
        UI_Node* raw = adopt(std::move(made));
        boxes_.push_back(raw);
        byName_[node->name] = raw;
    }
}

std::pair<float, float> NodeGraph::placeInView() {
    // The first cell of a grid over the visible graph that no box covers;
    // when every cell is taken, staggered from the middle.
    const int32_t cellWidth = UI_Node::kWidth + 40, cellHeight = 80;
    for (int32_t top = 30; top + cellHeight <= height; top += cellHeight)
        for (int32_t left = 40; left + UI_Node::kWidth <= width; left += cellWidth) {
            bool free = std::none_of(boxes_.begin(), boxes_.end(), [&](const UI_Node* box) {
                int32_t bx = box->x - x, by = box->y - y;
                return bx < left + cellWidth && bx + box->width > left - 20 && by < top + cellHeight &&
                       by + box->height > top - 10;
            });
            if (free) return {float(left), float(top)};
        }
    int32_t step = placed_++ % 8;
    return {float(width / 2 - UI_Node::kWidth / 2 + step * 24), float(height / 2 - 40 + step * 24)};
}

void NodeGraph::drawConnection(const UI_Node& from, const UI_Node& to, int32_t input) {
    // A gentle S from the output socket to the input socket, in straight pieces.
    const int kPieces = 12;
    float x0 = float(from.outputX()), y0 = float(from.outputY());
    float x1 = float(to.inputX()), y1 = float(to.inputY(input));
    float reach = std::max(40.0f, std::abs(x1 - x0) * 0.5f);
    // The curve stays inside the box of its ends widened by the reach: skip it when that is out of sight.
    if (std::max(x0, x1) + reach < float(x) || std::min(x0, x1) - reach > float(x + width) ||
        std::max(y0, y1) < float(y) || std::min(y0, y1) > float(y + height))
        return;
    float previousX = x0, previousY = y0;
    for (int i = 1; i <= kPieces; ++i) {
        float t = float(i) / kPieces, s = 1.0f - t;
        float px = s * s * s * x0 + 3 * s * s * t * (x0 + reach) + 3 * s * t * t * (x1 - reach) + t * t * t * x1;
        float py = s * s * s * y0 + 3 * s * s * t * y0 + 3 * s * t * t * y1 + t * t * t * y1;
        owner->drawLine(2.0f, int32_t(previousX), int32_t(previousY), int32_t(px), int32_t(py));
        previousX = px;
        previousY = py;
    }
}

void NodeGraph::draw() {
    if (hidden || !owner) return;
    owner->setColor({0.07f, 0.07f, 0.08f, 1.0f});
    owner->fillRect(x, y, width, height);
    owner->setClip(x, y, width, height);
    // A faint grid that moves with the pan, so panning is seen.
    owner->setColor({0.11f, 0.11f, 0.13f, 1.0f});
    for (int32_t gx = ((gridX_ % 40) + 40) % 40; gx < width; gx += 40) owner->fillRect(x + gx, y, 1, height);
    for (int32_t gy = ((gridY_ % 40) + 40) % 40; gy < height; gy += 40) owner->fillRect(x, y + gy, width, 1);

    owner->setColor(owner->palette[6]);
    for (UI_Node* to : boxes_) {
        engine::Node* node = engine_.findNode(to->nodeName);
        if (!node) continue;
        to->error = node->hasError;
        to->highlight = to->nodeName == selectedNode ? 1 : 0;
        to->pendingOutput = to->nodeName == pendingSource;
        for (int32_t i = 0; i < node->inputCount && i < int32_t(to->inputNames.size()); ++i) {
            engine::Node* input = node->inputs[std::size_t(i)];
            if (UI_Node* from = input ? box(input->name) : nullptr) drawConnection(*from, *to, i);
        }
    }
    for (UI_Object* child : children())
        if (!child->hidden && child->x < x + width && child->x + child->width > x && child->y < y + height &&
            child->y + child->height > y)
            child->draw();
    owner->drawText(0, float(x + 8), float(y + height - 8), 10, {0.4f, 0.4f, 0.43f, 1.0f},
                    "press an output, then an input, to connect  -  press a connected input to free it  -  "
                    "drag a title to move  -  double-click it to rename  -  Delete removes the selected box  -  "
                    "middle-drag to pan");
    if (!pendingSource.empty()) {
        if (UI_Node* from = box(pendingSource)) {
            owner->setColor(owner->palette[9]);
            owner->drawLine(1.5f, from->outputX(), from->outputY(), owner->mouseX, owner->mouseY);
        }
    }
    owner->clearClip();
}

void NodeGraph::openParameters(UI_Node& box) {
    selectedNode = box.nodeName;
    if (listener.openParameters) listener.openParameters(box.nodeName);
}

void NodeGraph::boxPressed(UI_Node& box) {
    selectedNode = box.nodeName;
    if (listener.selected) listener.selected(box.nodeName);
}

void NodeGraph::socketPressed(UI_Node& box, int32_t input) {
    auto say = [&](const std::string& message) {
        platform::debugLine(message);
        if (listener.say) listener.say(message);
    };
    if (input < 0) {
        // The output: it waits for an input; pressing it again lets go.
        pendingSource = pendingSource == box.nodeName ? std::string() : box.nodeName;
        return;
    }
    engine::Node* target = engine_.findNode(box.nodeName);
    if (!target || input >= target->inputCount) return;
    const std::string inputName = box.inputNames[std::size_t(input)];
    if (pendingSource.empty()) {
        if (!target->inputs[std::size_t(input)]) return;
        std::string source = target->inputs[std::size_t(input)]->name;
        engine_.disconnect(box.nodeName, input);
        if (listener.changed) listener.changed();
        if (listener.say) listener.say("disconnected " + owner->aliasOf(source) + " from " + owner->aliasOf(box.nodeName) + "." + inputName);
        return;
    }
    std::string source = std::exchange(pendingSource, std::string());
    engine::Node* from = engine_.findNode(source);
    if (!from) return;
    const std::string shown = owner->aliasOf(source) + " to " + owner->aliasOf(box.nodeName) + "." + inputName;
    if (target->inputs[std::size_t(input)]) {
        say("cannot connect " + shown + ": the input is taken (press it to free it)");
        return;
    }
    if (!target->acceptsInput(input, *from)) {
        say("cannot connect " + shown + ": that input does not take this kind of node");
        return;
    }
    if (!engine_.connect(source, box.nodeName, input)) {
        say("cannot connect " + shown + ": it would close a loop");
        return;
    }
    if (listener.changed) listener.changed();
    if (listener.say) listener.say("connected " + shown);
}

std::vector<UI_Node*> NodeGraph::upstreamBoxes(UI_Node& start) {
    std::vector<UI_Node*> found;
    std::unordered_set<const engine::Node*> seen;
    std::vector<const engine::Node*> pending;
    if (const engine::Node* node = engine_.findNode(start.nodeName)) pending.push_back(node);
    while (!pending.empty()) {
        const engine::Node* node = pending.back();
        pending.pop_back();
        for (const engine::Node* input : node->inputs) {
            if (!input || !seen.insert(input).second) continue;
            if (UI_Node* upstream = box(input->name)) found.push_back(upstream);
            pending.push_back(input);
        }
    }
    return found;
}

bool NodeGraph::handleEvent(const UI_Event& event) {
    if (hidden) return false;
    // Boxes drawn later lie on top: the topmost one under the mouse takes the event.
    const std::vector<UI_Object*>& boxes = children();
    for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
        if ((*box)->hidden || !(*box)->contains(event.x, event.y)) continue;
        if ((*box)->handleEvent(event)) return true;
        break;
    }
    return handleOwnEvent(event);
}

bool NodeGraph::handleOwnEvent(const UI_Event& event) {
    // Only events that no box took reach here: the empty graph.
    if (event.kind == LeftDown && contains(event.x, event.y)) {
        pendingSource.clear();
        selectedNode.clear();
        return true;
    }
    if (event.kind == MiddleDown && contains(event.x, event.y) && owner && !owner->capture) {
        owner->capture = this;
        panning_ = true;
        panX_ = event.x;
        panY_ = event.y;
        return true;
    }
    if (panning_ && event.kind == MouseMove) {
        int32_t dx = event.x - panX_, dy = event.y - panY_;
        for (UI_Node* box : boxes_) box->setPosition(box->x + dx, box->y + dy);
        gridX_ += dx;
        gridY_ += dy;
        panX_ = event.x;
        panY_ = event.y;
        return true;
    }
    if (panning_ && event.kind == MiddleUp) {
        panning_ = false;
        if (owner && owner->capture == this) owner->capture = nullptr;
        if (listener.changed) listener.changed();
        return true;
    }
    return false;
}

}  // namespace vorn::ui::editor
