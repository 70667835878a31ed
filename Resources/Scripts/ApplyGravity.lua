-- Every frame: the player falls a little faster, down to the fastest fall. The player counts
-- as in the air until IsGrounded, queued later in the same frame by a landing, says otherwise.
-- A running air dash holds the player level.
function main()
    local player = GetController(GetPlayerID())
    if player == nil then
        return
    end
    player.isGrounded = false
    if player.airSkillActive then
        player.y_vel = 0
        return
    end
    player.y_vel = math.max(player.y_vel + player.y_acc, player.maxvely)
end
