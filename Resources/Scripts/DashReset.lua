-- "OnCollision" of an orb (GameObject is the orb): the player gets the air dash and the
-- water kick back in mid-air. The orb is gone for a moment, then grows back.
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

local Away = 100000  -- how far the orb hides while it grows back
local GrowSeconds = 2.0

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    local orb = GetTransform(GameObject)
    if player == nil or orb == nil or player.isDead or not Overlap(GameObject, id) then
        return
    end
    if not player.airSkillSpent and not player.waterSkillSpent then
        return
    end
    player.airSkillSpent = false
    player.waterSkillSpent = false
    PlaySoundEvent("Player_FireBurst")
    ParticleBurst(orb.x_pos, orb.y_pos)
    local home = orb.x_pos
    orb.x_pos = home + Away
    local object = GameObject
    Delay(GrowSeconds, function()
        -- Only the same orb, still hidden: a level load may have given its id to another object.
        local again = GetTransform(object)
        if again ~= nil and again.x_pos == home + Away then
            again.x_pos = home
        end
    end)
end
