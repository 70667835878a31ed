-- "OnCollision" of a flag (GameObject is the flag): touching it makes it the place the
-- player comes back to after a fall into lava. The flag turns green and chimes once.
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

local Lift = 10  -- the player comes back this far above the flag's middle

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    local checkpoint = GetCheckpoint(id)
    local flag = GetTransform(GameObject)
    if player == nil or checkpoint == nil or flag == nil or player.isDead or not Overlap(GameObject, id) then
        return
    end
    if checkpoint.x == flag.x_pos and checkpoint.y == flag.y_pos + Lift then
        return
    end
    checkpoint.x = flag.x_pos
    checkpoint.y = flag.y_pos + Lift
    ChangeSprite(GameObject, "CheckpointOn.png")
    PlaySoundEvent("Checkpoint")
    ParticleBurst(flag.x_pos, flag.y_pos + 40)
end
