-- The player's "Bottom Collision": standing on something gives the jump and both skills back.
-- A player already rising jumped off in this same frame, after the landing was found.
function main()
    local player = GetController(GameObject)
    if player == nil or player.y_vel > 0 then
        return
    end
    player.isGrounded = true
    player.airSkillSpent = false
    player.waterSkillSpent = false
end
