-- "OnCollision" of a kill zone (GameObject is the zone): when the player is inside it, the
-- player dies, goes back to the checkpoint and the level's enemies come back. The game
-- shakes the camera while the player is dead and brings the player back to life after it.
local function Box(id)
    local place = GetTransform(id)
    local body = GetRigidBody(id)
    if place == nil or body == nil then
        return nil
    end
    return place.x_pos + body.left, place.x_pos + body.right, place.y_pos + body.bottom, place.y_pos + body.top
end

local function Overlap(a, b)
    local aLeft, aRight, aBottom, aTop = Box(a)
    local bLeft, bRight, bBottom, bTop = Box(b)
    if aLeft == nil or bLeft == nil then
        return false
    end
    return aLeft <= bRight and bLeft <= aRight and aBottom <= bTop and bBottom <= aTop
end

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    if player == nil or player.godMode or player.isDead or not Overlap(GameObject, id) then
        return
    end
    player.isDead = true
    player.x_vel = 0
    player.y_vel = 0
    PlaySoundEvent("Player_Die")
    local place = GetTransform(id)
    ParticleDeathBurst(place.x_pos, place.y_pos)
    local checkpoint = GetCheckpoint(id)
    if checkpoint ~= nil then
        place.x_pos = checkpoint.x
        place.y_pos = checkpoint.y
        player.next_x_pos = checkpoint.x
        player.next_y_pos = checkpoint.y
    end
    RespawnEnemies()
end
