-- "OnCollision" of an enemy (GameObject is the enemy): a player dashing into it knocks it
-- out of the sky. It comes back when the player next falls into lava.
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
    local enemy = GetTransform(GameObject)
    if player == nil or enemy == nil or not player.airSkillActive or not Overlap(GameObject, id) then
        return
    end
    PlaySoundEvent("AirEnemy_Die")
    ParticleDeathBurst(enemy.x_pos, enemy.y_pos)
    Destroy(GameObject)
end
