-- Shared by the handlers of touches (flags, orbs, lava, enemies, bullets, the gate): loading
-- this script puts Touching into the global table, where every script finds it. A collision
-- event also reaches an object for touches by others, so the handlers ask whether the player
-- is the one touching. Its main has nothing to do.

-- The box of an object's collider in the world, or nil without a Transform and RigidBody.
local function Box(id)
    local place = GetTransform(id)
    local body = GetRigidBody(id)
    if place == nil or body == nil then
        return nil
    end
    return place.x_pos + body.left, place.x_pos + body.right, place.y_pos + body.bottom, place.y_pos + body.top
end

-- Whether the two objects' boxes overlap or touch.
function _G.Touching(a, b)
    local aLeft, aRight, aBottom, aTop = Box(a)
    local bLeft, bRight, bBottom, bTop = Box(b)
    if aLeft == nil or bLeft == nil then
        return false
    end
    return aLeft <= bRight and bLeft <= aRight and aBottom <= bTop and bBottom <= aTop
end

function main()
end
