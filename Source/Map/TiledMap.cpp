#include "Map/TiledMap.h"

const TiledTileset* TiledMap::tileset_of(uint32_t gid) const {
    gid &= ~TiledGid::flags;
    const TiledTileset* found = nullptr;
    for (const TiledTileset& set : tilesets)
        if (set.first_gid <= gid && (!found || set.first_gid > found->first_gid))
            found = &set;
    return found;
}

const TiledTile* TiledMap::tile_of(uint32_t gid) const {
    const TiledTileset* set = tileset_of(gid);
    if (!set)
        return nullptr;
    auto it = set->tiles.find((gid & ~TiledGid::flags) - set->first_gid);
    return it == set->tiles.end() ? nullptr : &it->second;
}
