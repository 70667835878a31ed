-- "OnCollision" of an enemy bullet (GameObject is the bullet), queued twice per contact: a
-- bullet that touches the player knocks the player back and is gone. The touch of the enemy
-- that fired it does not count, so a bullet leaves its enemy; the second call finds the
-- bullet gone.
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

local Knock = 350  -- sideways speed a hit gives the player

function main()
    local id = GetPlayerID()
    if GetTransform(GameObject) == nil or not Overlap(GameObject, id) then
        return
    end
    local player = GetController(id)
    local bullet = GetController(GameObject)
    if player ~= nil and bullet ~= nil and not player.isDead and not player.godMode and not player.airSkillActive then
        player.x_vel = bullet.x_vel >= 0 and Knock or -Knock
        PlaySoundEvent("Player_Earth_Punch")
    end
    Destroy(GameObject)
end
