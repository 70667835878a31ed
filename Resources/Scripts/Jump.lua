-- J, W, Space or Z pressed: a jump, only from the ground.
function main()
    local player = GetController(GetPlayerID())
    if player == nil or not player.isGrounded then
        return
    end
    player.isGrounded = false
    player.y_vel = player.jumpvel
    PlaySoundEvent("Player_Jump")
end
