-- "OnCollision" of a flag (GameObject is the flag): touching it makes it the place the
-- player comes back to after a fall into lava. The flag turns green and chimes once.
local Lift = 10  -- the player comes back this far above the flag's middle

function main()
    local id = GetPlayerID()
    local player = GetController(id)
    local checkpoint = GetCheckpoint(id)
    local flag = GetTransform(GameObject)
    if player == nil or checkpoint == nil or flag == nil or player.isDead or not Touching(GameObject, id) then
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
