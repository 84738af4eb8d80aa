// The small game world behind the natives: a player, trains with one
// carriage each, other characters, doors, and trains that move along +y.
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>

#include "sim/host_internal.h"
#include "sim/sim.h"

namespace sim {
namespace {

struct WorldState {
    std::map<int, Entity> entities;
    int nextHandle = 100;
    int player = 0;
    bool customNearby = false;
    std::vector<int> nearby;
    int boardingSwitch = -1;
    bool trainsMove = true;
};

int NewEntity(WorldState& w, Entity::Kind kind, const std::string& model, Vec3 position) {
    Entity e;
    e.handle = w.nextHandle++;
    e.kind = kind;
    e.model = model;
    e.position = position;
    w.entities[e.handle] = e;
    return e.handle;
}

WorldState FreshWorld() {
    WorldState w;
    w.player = NewEntity(w, Entity::Character, "player", Vec3{});
    return w;
}

WorldState& World() {
    static WorldState world = FreshWorld();
    return world;
}

const char* const TrainModels[] = {"freight", "metrotrain", "freightcar", "freightgrain", "tankercar", "freightcont1"};

int NewEntity(Entity::Kind kind, const std::string& model, Vec3 position) {
    return NewEntity(World(), kind, model, position);
}

Entity* Find(int handle) {
    auto it = World().entities.find(handle);
    return it == World().entities.end() ? nullptr : &it->second;
}

int Int(uint64_t slot) { return static_cast<int>(static_cast<uint32_t>(slot)); }

float Float(uint64_t slot) {
    uint32_t bits = static_cast<uint32_t>(slot);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

uint64_t FromInt(int value) { return static_cast<uint32_t>(value); }

uint64_t FromFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

void PutVector(uint64_t* slots, Vec3 v) {
    slots[0] = FromFloat(v.x);
    slots[1] = FromFloat(v.y);
    slots[2] = FromFloat(v.z);
}

void Unseat(Entity& character) {
    if (Entity* vehicle = Find(character.seatedIn))
        if (vehicle->driver == character.handle) vehicle->driver = 0;
    character.seatedIn = 0;
}

void MoveTo(int handle, Vec3 position) {
    Entity* e = Find(handle);
    if (!e) return;
    if (e->kind == Entity::Character) Unseat(*e);
    e->position = position;
}

void ListNearby(const uint64_t* args, uint64_t* slots) {
    WorldState& w = World();
    auto* buffer = reinterpret_cast<uint64_t*>(static_cast<uintptr_t>(args[1]));
    int capacity = Int(buffer[0]);
    // Written straight into the buffer: with tracing off the host's dispatch
    // allocates nothing, so the benchmark's floor stays the host's own cost.
    int count = 0;
    auto put = [&](int handle) {
        if (count >= capacity) return false;
        buffer[1 + count++] = FromInt(handle);
        return true;
    };
    if (w.customNearby) {
        for (int handle : w.nearby)
            if (!put(handle)) break;
    } else {
        for (auto& [handle, e] : w.entities)
            if (e.kind == Entity::Vehicle && e.listed && !put(handle)) break;
    }
    slots[0] = FromInt(count);
}

}  // namespace

// ---------------------------------------------------------------------------
// [SECTION] Building the world
uint32_t ModelHash(const std::string& name) {
    // One-at-a-time hash of the lower-cased name, as the game names models.
    uint32_t hash = 0;
    for (char c : name) {
        hash += static_cast<uint8_t>(std::tolower(static_cast<unsigned char>(c)));
        hash += hash << 10;
        hash ^= hash >> 6;
    }
    hash += hash << 3;
    hash ^= hash >> 11;
    hash += hash << 15;
    return hash;
}

int Player() { return World().player; }

Entity& Get(int handle) {
    Entity* e = Find(handle);
    if (!e) throw std::out_of_range("no entity " + std::to_string(handle));
    return *e;
}

bool Exists(int handle) { return Find(handle) != nullptr; }

int AddTrain(const std::string& model, Vec3 position, float speed) {
    int train = NewEntity(Entity::Vehicle, model, position);
    std::string carriageModel = model == "freight" ? "freightcar" : model;
    int carriage = NewEntity(Entity::Vehicle, carriageModel, Vec3{position.x, position.y - 20.0f, position.z});
    Get(carriage).listed = false;
    Get(train).carriage = carriage;
    Get(train).speed = speed;
    return train;
}

int AddCar(const std::string& model, Vec3 position) { return NewEntity(Entity::Vehicle, model, position); }

int AddCharacter(Vec3 position) { return NewEntity(Entity::Character, "character", position); }

void SeatDriver(int vehicle, int character) {
    Entity& c = Get(character);
    Unseat(c);
    // The one who sat there is out of the seat, standing where it was.
    if (Entity* before = Find(Get(vehicle).driver)) before->seatedIn = 0;
    Get(vehicle).driver = character;
    c.seatedIn = vehicle;
    c.position = Get(vehicle).position;
}

void DeleteEntity(int handle) {
    Entity* e = Find(handle);
    if (!e) return;
    if (e->kind == Entity::Character) Unseat(*e);
    if (Entity* driver = Find(e->driver)) driver->seatedIn = 0;
    World().entities.erase(handle);
}

void PlacePlayer(Vec3 position) { MoveTo(Player(), position); }

int SwitchPlayerCharacter() {
    const Vec3 at = Get(Player()).position;
    WorldState& w = World();
    w.player = NewEntity(w, Entity::Character, "player", at);
    return w.player;
}

void SetNearbyList(const std::vector<int>& handles) {
    World().customNearby = true;
    World().nearby = handles;
}

int BoardingSwitch() { return World().boardingSwitch; }

void SetTrainsMove(bool move) { World().trainsMove = move; }

namespace world {

void Reset() { World() = FreshWorld(); }

void Unseat(int character) {
    if (Entity* e = Find(character)) sim::Unseat(*e);
}

int VehicleWithinReach(Vec3 at, float reach) {
    int nearest = 0;
    float best = reach;
    for (auto& [handle, e] : World().entities) {
        if (e.kind != Entity::Vehicle) continue;
        bool train = false;
        for (const char* model : TrainModels) train |= e.model == model;
        const float dx = e.position.x - at.x, dy = e.position.y - at.y, dz = e.position.z - at.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (!train && distance <= best) nearest = handle, best = distance;
    }
    return nearest;
}

// Trains run at the speed they were last given; whoever sits in them
// rides along.
void AfterFrame(float seconds) {
    WorldState& w = World();
    if (!w.trainsMove) return;
    for (auto& [handle, e] : w.entities) {
        if (e.kind != Entity::Vehicle || e.applyCount == 0 || !std::isfinite(e.appliedSpeed)) continue;
        float dy = e.appliedSpeed * seconds;
        e.position.y += dy;
        if (Entity* carriage = Find(e.carriage)) carriage->position.y += dy;
        if (Entity* driver = Find(e.driver)) driver->position = e.position;
    }
}

bool Answer(uint64_t hash, const uint64_t* args, int, uint64_t* slots) {
    WorldState& w = World();
    switch (hash) {
    case 0xD80958FC74E988A6ull: slots[0] = FromInt(w.player); return true;
    case 0x3FEF770D40960D5Aull:
        if (Entity* e = Find(Int(args[0]))) PutVector(slots, e->position);
        return true;
    case 0xCFF869CBFA210D82ull: ListNearby(args, slots); return true;
    case 0x9F47B058362C84B5ull:
        if (Entity* e = Find(Int(args[0]))) slots[0] = ModelHash(e->model);
        return true;
    case 0xAB935175B22E822Bull:
        for (const char* model : TrainModels)
            if (ModelHash(model) == static_cast<uint32_t>(args[0])) slots[0] = 1;
        return true;
    case 0xD24D37CC275948CCull: slots[0] = ModelHash(reinterpret_cast<const char*>(args[0])); return true;
    case 0x1899F328B0E12848ull:
        if (Entity* e = Find(Int(args[0])))
            PutVector(slots, Vec3{e->position.x + Float(args[1]), e->position.y + Float(args[2]),
                                  e->position.z + Float(args[3])});
        return true;
    case 0x06843DA7060A026Bull: MoveTo(Int(args[0]), Vec3{Float(args[1]), Float(args[2]), Float(args[3])}); return true;
    case 0xBB40DD2270B65366ull:
        if (Entity* e = Find(Int(args[0]))) slots[0] = FromInt(e->driver);
        return true;
    case 0xF75B0D629E1C063Dull:
        if (Find(Int(args[0])) && Find(Int(args[1]))) SeatDriver(Int(args[1]), Int(args[0]));
        return true;
    case 0xD5037BA82E12416Full:
        if (Entity* e = Find(Int(args[0]))) slots[0] = FromFloat(e->speed);
        return true;
    case 0xAA0BC91BE0B796E3ull:
        if (Entity* e = Find(Int(args[0]))) {
            e->appliedSpeed = Float(args[1]);
            e->speed = std::fabs(e->appliedSpeed);
            ++e->applyCount;
        }
        return true;
    case 0x1098355A16064BB3ull: w.boardingSwitch = Int(args[0]); return true;
    case 0x997ABD671D25CA0Bull:
        if (Entity* e = Find(Int(args[0]))) slots[0] = e->seatedIn != 0 && Find(e->seatedIn) ? 1 : 0;
        return true;
    case 0x08AAFD0814722BC3ull:
        if (Entity* e = Find(Int(args[0])))
            if (Int(args[1]) == 1) slots[0] = FromInt(e->carriage);
        return true;
    case 0x3E933CFF7B111C22ull:
        if (Entity* e = Find(Int(args[0])))
            if (Int(args[1]) >= 0 && Int(args[1]) < 4) slots[0] = e->doors[Int(args[1])] ? 1 : 0;
        return true;
    case 0x7C65DAC73C35C862ull:
    case 0x93D9BD300D7789E5ull:
        if (Entity* e = Find(Int(args[0])))
            if (Int(args[1]) >= 0 && Int(args[1]) < 4) e->doors[Int(args[1])] = hash == 0x7C65DAC73C35C862ull;
        return true;
    default:
        // Drawing natives change nothing in the world; the host traces them.
        return true;
    }
}

}  // namespace world
}  // namespace sim
